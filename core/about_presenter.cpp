// The About window's behaviour: its links open the product's pages, OK closes it.
#include "core/about_presenter.h"

#include "core/web_page.h"

void AboutPresenter::OnOpenHomePage() {
  shell_.OpenWebPage(kHomePageUrl);
}

void AboutPresenter::OnOpenDonationPage() {
  shell_.OpenWebPage(kDonationPageUrl);
}

void AboutPresenter::OnOk() {
  view_.Close();
}
