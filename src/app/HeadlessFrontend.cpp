#include "app/HeadlessFrontend.h"

#include <QCoreApplication>
#include <cstdio>

MsgAnswer HeadlessFrontend::MsgBox(std::string_view text, MsgIcon, MsgButtons buttons, std::string_view) {
    messageShown_ = true;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    // Nobody can answer: take the choice that changes nothing.
    switch (buttons) {
        case MsgButtons::OK:
            return MsgAnswer::OK;
        case MsgButtons::OKCancel:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
    }
    return MsgAnswer::Cancel;
}

void HeadlessFrontend::DoEvents() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}
