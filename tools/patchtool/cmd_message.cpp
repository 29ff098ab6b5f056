// patchtool message ID [--language N]: a text of the message catalogue as the
// updater shows it, in UTF-8, line breaks inside it written as \r\n.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "command.h"
#include "i18n/message_listing.h"
#include "i18n/message_table.h"
#include "i18n/messages.h"
#include "i18n/utf8.h"

namespace {

// UTF-8 to a pipe or file; on a Windows console, which would read the bytes in
// its own code page, the UTF-16 text itself.
void WriteUtf8(const std::string& text) {
#ifdef _WIN32
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    std::u16string wide = upd::Utf8ToUtf16(text);
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
#endif
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

struct MessageArgs {
  int id = 0;
  int language = -1;
};

patchtool::CommandRegistrar registrar([](CLI::App& app) {
  auto args = std::make_shared<MessageArgs>();
  auto* cmd = app.add_subcommand("message", "Print a text of the message catalogue as the updater shows it");
  cmd->add_option("ID", args->id, "Message id")->required()->check(CLI::Range(1, upd::kMessageIdCount));
  auto* language = cmd->add_option("--language", args->language,
                                   "Display language: 0 Polish, 1 English, 2 French, 3 German, 4 Italian, "
                                   "5 Spanish, 6 Russian, 7 Hungarian (default: every language, one per line)")
                       ->check(CLI::Range(0, upd::kDisplayLanguageCount - 1));
  cmd->callback([args, language] {
    std::optional<int> chosen;
    if (language->count() > 0) chosen = args->language;
    WriteUtf8(upd::MessageListing(args->id, chosen));
  });
});

}  // namespace
