// The About window's behaviour: its links open the product's pages, OK closes it.
#include "core/about_presenter.h"

#include "core/web_page.h"

void AboutPresenter::OnOpenHomePage() {
  OpenWebPage(shell_, kHomePageUrl);
}

void AboutPresenter::OnOpenDonationPage() {
  OpenWebPage(shell_, kDonationPageUrl);
}

void AboutPresenter::OnOk() {
  view_.Close();
}
