#include "app/start_up.h"

#include "i18n/fonts.h"
#include "i18n/start_up_facts.h"
#include "platform/message_box.h"

namespace upd {

void StartUp(const BuildConstants& constants, const std::function<void()>& createWindows) {
  InitStartUpFacts();
  ChooseUiFontFace();
  platform::Use<platform::PlainMessageBox>().SetTitle("Uaktualnienie - Update");
  InitProductIdentity(constants.AppId);
  if (createWindows) createWindows();
  AssignBuildConstants(constants);
}

}  // namespace upd
