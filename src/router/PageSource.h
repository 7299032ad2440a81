#pragma once
#include <functional>
#include <string>

struct MainForm;

// Where procedures that read router pages get them. By default the page fetcher (GetHtml);
// tests may script the pages instead. Same contract as GetHtml: the page text, or an empty text
// when nothing came back; never a message.
using PageSource = std::function<std::string(const std::string& url)>;

std::string FetchPage(MainForm& F, const std::string& url);
