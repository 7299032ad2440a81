#include "router/PageSource.h"

#include "form/MainForm.h"
#include "router/PageFetcher.h"

std::string FetchPage(MainForm& F, const std::string& url) {
    if (F.router.Pages) {
        // Scripted pages carry no network error to tell.
        F.router.LastFetchFailure.clear();
        F.router.LastFetchStatus = 0;
        return F.router.Pages(url);
    }
    if (url.empty() || F.UnloadRequested) return {};
    // An empty user ID logs on as "admin", and the field shows it from the first fetch on.
    if (F.UserID.Text.empty()) F.UserID.Text = "admin";
    return GetHtml(F, url, FetchOptionsOf(F));
}
