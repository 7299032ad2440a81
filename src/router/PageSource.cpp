#include "router/PageSource.h"

#include "app/MainForm.h"
#include "router/PageFetcher.h"

std::string FetchPage(MainForm& F, const std::string& url) {
    return F.router.Pages ? F.router.Pages(url) : GetHtml(F, url);
}
