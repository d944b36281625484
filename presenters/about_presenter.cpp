// The About window's behaviour: its links open the product's pages, OK closes it.
#include "presenters/about_presenter.h"

#include "vocabulary/web_page.h"

void AboutPresenter::OnOpenHomePage() {
  shell_.OpenWebPage(kHomePageUrl);
}

void AboutPresenter::OnOpenDonationPage() {
  shell_.OpenWebPage(kDonationPageUrl);
}

void AboutPresenter::OnOk() {
  view_.Close();
}
