#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "capture/StreamFraming.h"

namespace {

using Messages = std::vector<std::pair<std::string, bool>>;

// Octet-counted frames, frames that a line feed ends, an oversized frame and a last line without
// its end, arriving in pieces of every size from one byte up: the same messages come out.
TEST(StreamFraming, FramesSplitAcrossReadsComeOutWhole) {
    const std::string stream = "13 <13>first msg" + std::string("27 <13>second\nwith a line feed") +
                               "<13>a line\r\n\n" + "2006 <13>x " + std::string(2000, 'x') +
                               "<13>a line that is far too long, cut\n" + "123digits, no count\n" +
                               "7 <13>end" + "<13>last, unended";
    const Messages expected = {{"<13>first msg", false},
                               {"<13>second\nwith a line feed", false},
                               {"<13>a line", false},
                               {"<13>x " + std::string(26, 'x'), true},
                               {"<13>a line that is far too long,", true},
                               {"123digits, no count", false},
                               {"<13>end", false},
                               {"<13>last, unended", false}};
    for (size_t piece = 1; piece <= 9; ++piece) {
        SyslogStreamFramer framer(32);
        Messages got;
        const SyslogStreamFramer::Emit keep = [&](std::string_view m, bool cut) { got.emplace_back(m, cut); };
        for (size_t at = 0; at < stream.size(); at += piece)
            framer.Feed(std::string_view(stream).substr(at, piece), keep);
        framer.Finish(keep);
        EXPECT_EQ(got, expected) << "pieces of " << piece;
    }
}

}  // namespace
