#pragma once
// Where the product is installed. The product's installer records the
// installation directory under the product's key, in the current user's hive
// or the machine's, as a string value whose name and contents are scrambled
// with the value scrambler in mode 5. A second value, "ForceNewReg" (scrambled
// the same way), switches the scrambling to the three-class format. The
// registry is only read.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace upd {

// The product keys, indexed by AppId (entry 0 is unused), under both hives.
inline constexpr std::array<std::string_view, 14> ProductRegKeys = {
    "",
    "SOFTWARE\\Varsko\\RuRaduvlator",  // 1
    "SOFTWARE\\Varsko\\ZurIvuro",      // 2
    "SOFTWARE\\Varsko\\ZurIvuro",      // 3
    "SOFTWARE\\Varsko\\RavOveze2",     // 4
    "SOFTWARE\\Varsko\\ZvDeu",         // 5
    "SOFTWARE\\Varsko\\ZurIvuro2",     // 6
    "SOFTWARE\\Varsko\\ZvEng",         // 7
    "SOFTWARE\\Varsko\\VodeRezur",     // 8
    "SOFTWARE\\Varsko\\DivOreza",      // 9
    "SOFTWARE\\Varsko\\ZerAredu",      // 10
    "SOFTWARE\\Varsko\\RuRaduv2",      // 11
    "SOFTWARE\\Varsko\\RavOveze3",     // 12
    "SOFTWARE\\Varsko\\DozOdiva1",     // 13
};

// The legacy product line (AppId -1): a plain value under the machine's hive.
inline constexpr std::string_view LegacyInstallKey = "Software\\Ridurizeve\\Brenvik";

// Value names before scrambling.
inline constexpr std::string_view InstallDirValueName = "Katalog";
inline constexpr std::string_view NewRegFormatValueName = "ForceNewReg";

// The scrambled name under which the product's installer stores the
// installation directory: AppId 1 keeps the plain name.
std::string InstallDirValueNameFor(int32_t appId, bool newRegFormat);
// The scrambled name of the format flag.
std::string NewRegFormatValueNameFor(int32_t appId);

// The value that the product's installer writes to record `dir` as the
// installation directory: its name and its scrambled contents. The updater
// never writes it; the release tools and the tests do.
struct ScrambledValue {
  std::string name;
  std::string contents;
};
ScrambledValue ScrambleInstallDir(int32_t appId, const std::string& dir, bool newRegFormat);

// The installation directory exactly as stored, after unscrambling (no
// backslash added or removed), or empty when none is found. The current
// user's hive wins; the machine's is read only when the user's gives nothing.
// AppId -1 reads the legacy location; any other AppId outside 1..13 gives an
// empty string without touching the registry. Never fails.
std::string GetInstallDir(int32_t appId);

// Whether the scrambled "ForceNewReg" value exists for the product in either
// hive. Only its presence counts, whatever it holds and whatever its type.
bool IsNewRegFormat(int32_t appId);

// The directory of the legacy product line, as stored, or empty.
std::string ReadLegacyInstallDir();

}  // namespace upd
