#include "app/start_up.h"

#include "i18n/fonts.h"
#include "i18n/startup_facts.h"
#include "platform/message_box.h"

namespace upd {

void StartUp(const BuildConstants& constants, const std::function<void()>& createWindows) {
  InitStartupFacts();
  ChooseUiFontFace();
  platform::Use<platform::PlainMessageBox>().SetTitle("Uaktualnienie - Update");
  InitProductIdentity(constants.AppId);
  if (createWindows) createWindows();
  AssignBuildConstants(constants);
}

}  // namespace upd
