// The settings readers on files an editor or a crash left behind: Drovix.ini, Stillbeacon.ini
// and the two "don't log" lists. The first byte picks the file; the rest is its content.
#include "FuzzForm.h"
#include "app/CompanionSettings.h"
#include "app/PasswordStore.h"
#include "app/Settings.h"
#include "sblog/DontLogLists.h"

namespace {

// Building a form costs more than reading a settings file, so one form serves every input. Before
// each input, every field the Drovix.ini reader may set gets back its value from a form nothing
// was read into, which keeps the inputs independent. The other two readers set everything they
// touch themselves.
void ResetSettingsFields(MainForm& F, const MainForm& fresh) {
    F.UserID = fresh.UserID;
    F.IPAddr = fresh.IPAddr;
    F.PW = fresh.PW;
    F.RouterRetry = fresh.RouterRetry;
    F.RouterDelay = fresh.RouterDelay;
    F.RouterWait = fresh.RouterWait;
    F.MaxTdiff = fresh.MaxTdiff;
    F.SavePW = fresh.SavePW;
    F.CkConvertIP = fresh.CkConvertIP;
    F.CkConvertURL = fresh.CkConvertURL;
    F.CCacheFailures = fresh.CCacheFailures;
    F.CompSB = fresh.CompSB;
    F.CompDX = fresh.CompDX;
    F.CompAddr = fresh.CompAddr;
    F.CSysLog = fresh.CSysLog;
    F.CSaveSysLog = fresh.CSaveSysLog;
    F.CmnW = fresh.CmnW;
    F.Include = fresh.Include;
    F.ShowMessages = fresh.ShowMessages;
    F.RouterAddress = fresh.RouterAddress;
    F.StoredPassword = fresh.StoredPassword;
    F.LastMnwTime = fresh.LastMnwTime;
    F.ConvertIPInEffect = fresh.ConvertIPInEffect;
    F.ConvertURLInEffect = fresh.ConvertURLInEffect;
    F.Window = fresh.Window;
    F.WindowState = fresh.WindowState;
    F.ColumnWidthSnapshot = fresh.ColumnWidthSnapshot;
    F.SysLog = fresh.SysLog;
    F.AltAuth = fresh.AltAuth;
    F.StdOnly = fresh.StdOnly;
    F.LookupThreads = fresh.LookupThreads;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fuzz::TheProcess();
    static fuzz::Form fresh;
    static fuzz::Form form;
    MainForm& F = form.F();
    const std::string_view content = fuzz::Bytes(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0: {
            ResetSettingsFields(F, fresh.F());
            // The per-user store in memory, empty for every input.
            std::string saved;
            const PasswordStoreAccess store{[&] { return saved; }, [&](const std::string& s) { saved = s; },
                                            [&] { saved.clear(); }};
            ApplyDrovixIni(F, content, store);
            break;
        }
        case 1:
            ApplyStillbeaconIni(F, content);
            break;
        default: {
            const auto [addresses, ports] = fuzz::Halves(content);
            ApplyDontLogLists(F, addresses, ports);
            break;
        }
    }
    return 0;
}
