#include "i18n/code_pages.h"
#include "platform/system_info.h"

namespace upd::platform {

PortableSystemInfo::PortableSystemInfo() : ansi_(&kWindows1250) {}

std::u16string PortableSystemInfo::AnsiToUtf16(std::string_view text) { return WidenWith(text, *ansi_); }

}  // namespace upd::platform
