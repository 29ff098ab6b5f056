#pragma once
// Dictionary patches: the build's table of dictionary files updated by an edit
// script, the update of one such file (PatchDictionary) and the update run's
// dictionary phase (DictionaryPhase).
//
// A dictionary is only ever replaced by a temporary file next to it that has
// passed the size and checksum test, and at every moment either the old or the
// new dictionary is in place under its name.

#include <bitset>
#include <cstdint>
#include <span>
#include <string>

#include "dictionary/dictionary_host.h"

namespace upd {

// One version of a dictionary file.
struct TPlikInfo {
  std::string Name;  // bare file name, relative to the installation directory
  int32_t Size;      // bytes
  uint32_t Crc;      // CRC-32 of the whole file
};

// One dictionary patch.
struct TPatchSlownikInfo {
  std::bitset<256> AppIds;     // the products (AppId) the patch is meant for
  TPlikInfo OldFile;           // the version the script starts from
  TPlikInfo NewFile;           // the version it produces
  std::string ScriptResource;  // the RCDATA resource that holds the edit script
};

// The set of the given product identifiers.
std::bitset<256> AppIdSet(std::initializer_list<int> appIds);

// This build's dictionary patches, in the order the phase runs them.
std::span<const TPatchSlownikInfo> DictionaryPatches();

// Result codes of PatchDictionary.
enum : int32_t {
  kDictionaryAlreadyNew = 0,  // the new version is in place; nothing was done
  kDictionaryPatched = 1,     // the old version was found and replaced by the new one
  kDictionaryNotPatched = 2,  // the old version was not found (missing, another size or checksum); nothing was done
  // The old version was found but could not be brought to the new one (no
  // script, the script did not apply, the result failed its checks, a file
  // error); the old version is still in place. Shown like code 2, and it also
  // fails the update run: the user is told to retry rather than that the
  // update succeeded.
  kDictionaryUpdateFailed = 3,
};

// Brings the dictionary of `patch` in `dir` (which ends in a separator) to its
// new version: checks the file, applies the script to a temporary file
// "slupdate.tmp" (or "slupdate1.tmp", ...) next to it, checks the result and
// moves it into place. `percent` follows the script's progress; `host` gets a
// turn once per script record and once before the move. Never throws.
int32_t PatchDictionary(const std::string& dir, const TPatchSlownikInfo& patch, int32_t& percent, MessagePump& host);

// Runs every patch of `patches` meant for `appId`, in table order, with a
// status line for each ("File '...' is being updated ... " then "OK" or
// "Error") and the progress timer on while it runs. True when some dictionary
// was not already at its new version (code 1, 2 or 3). A dictionary whose
// update failed (code 3) sets the host's run as failed. Never throws.
bool DictionaryPhase(DictionaryHost& host, int appId, const std::string& installDir,
                     std::span<const TPatchSlownikInfo> patches = DictionaryPatches());

}  // namespace upd
