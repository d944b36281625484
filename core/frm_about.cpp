#include "core/frm_about.h"

#include "core/form1.h"
#include "core/module1.h"

void frmAbout::Label2_Click() {
  ShellOpen(shell_, "open", kHomePageUrl, {}, {}, platform::kSwShowNormal);
}

void frmAbout::Label3_Click() {
  ShellOpen(shell_, "open", kDonationPageUrl, {}, {}, platform::kSwShowNormal);
}

void frmAbout::cmdOK_Click() {
  view_.Unload();
}
