// The settings readers on files an editor or a crash left behind: Drovix.ini, Stillbeacon.ini
// and the two "don't log" lists. The first byte picks the file; the rest is its content.
#include "FuzzForm.h"
#include "app/CompanionSettings.h"
#include "app/DontLogLists.h"
#include "app/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fuzz::TheProcess();
    fuzz::Form form;
    MainForm& F = form.F();
    const std::string folder = F.ProgramDir;
    const std::string_view content = fuzz::Bytes(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            fuzz::WriteFile(folder + "Drovix.ini", content);
            IniRead(F);
            break;
        case 1:
            fuzz::WriteFile(folder + "Stillbeacon.ini", content);
            ReadStillbeaconIni(F);
            break;
        default: {
            const auto [addresses, ports] = fuzz::Halves(content);
            fuzz::WriteFile(folder + "Hideaddr.txt", addresses);
            fuzz::WriteFile(folder + "Hideport.txt", ports);
            ReadDontLogLists(F);
            break;
        }
    }
    return 0;
}
