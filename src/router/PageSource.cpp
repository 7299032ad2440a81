#include "router/PageSource.h"

#include "form/MainForm.h"
#include "router/PageFetcher.h"

std::string FetchPage(MainForm& F, const std::string& url) {
    return F.router.Pages ? F.router.Pages(url) : GetHtml(F, url);
}
