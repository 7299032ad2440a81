// Times filling the Incoming list from router pages of growing length, the way a refresh fills it
// (CopyData adds one row at a time). Filling must cost the same per row however long the list
// already is: the time per row stays flat when it grows linearly. Prints its figures and the peak
// memory after each size (sizes grow, so each figure is that size's); not a test.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <string>

#include "PeakMemory.h"
#include "form/Clock.h"
#include "form/MainForm.h"
#include "form/SilentFrontend.h"
#include "stdlog/CopyData.h"

namespace {

// An Incoming table page with rows records, as the router writes it.
std::string IncomingPage(int rows) {
    std::string page = "<table><tr><td>Source IP</td><td>Destination Port Number</td></tr>\n";
    for (int i = 0; i < rows; ++i) {
        page += "<tr bgcolor=cccccc align=middle><td>198.51." + std::to_string(i / 256 % 256) + "." +
                std::to_string(i % 256) + "</td><td>" + std::to_string(1024 + i % 5000) + "</td></tr>\n";
    }
    return page + "</table>";
}

double FillMs(MainForm& F, const std::string& page) {
    F.InLog.SetCols(4);
    F.InLog.SetRows(1);
    QElapsedTimer timer;
    timer.start();
    CopyData(F, F.InLog, 2, page);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SilentFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);

    std::printf("idle: peak memory %ld KiB\n", PeakKiB());
    std::printf("rows     page KB   fill ms   us per row   peak KiB\n");
    for (int rows : {6250, 12500, 25000, 50000}) {
        const std::string page = IncomingPage(rows);
        double best = 1e30;
        for (int run = 0; run < 3; ++run) best = std::min(best, FillMs(F, page));
        if (F.InLog.Rows() != rows + 1) std::printf("unexpected row count %d\n", F.InLog.Rows());
        std::printf("%6d  %8zu  %8.2f  %10.3f  %9ld\n", rows, page.size() / 1024, best, best * 1000 / rows,
                    PeakKiB());
    }
    return 0;
}
