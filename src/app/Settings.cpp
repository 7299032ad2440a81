#include "app/Settings.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>

#include "app/CompanionSettings.h"
#include "app/PasswordStore.h"
#include "app/SettingsFiles.h"
#include "files/FileUpdate.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "text/SettingsText.h"
#include "ui/OptionsFields.h"

namespace {

constexpr std::string_view kSettingsFileName = "Drovix.ini";
constexpr int kSysLogColumns = 12;
constexpr int kStoredColumnWidths = 10;
constexpr int kStdColumns = 5;  // the Outgoing list's; the Incoming list has one fewer

// What the file says that takes effect only once every line has been read, so that the order of
// the lines in a hand-edited file does not matter.
struct PendingValues {
    MainForm::Geometry window;
    int windowState = 0;
    std::optional<std::string> savePassword;
    std::optional<std::string> convertURL;
    std::string plainPassword;      // PW of older files
    std::string scrambledPassword;  // PWE of older files
};

using Reader = void (*)(MainForm& F, const std::string& value, PendingValues& pending);
using Writer = void (*)(MainForm& F, std::string_view key, std::string& out);

struct SettingKey {
    std::string_view name;
    Reader read;
    Writer write;  // none for names that are only read
};

// One "KEY=value" line. A line end inside a value would split it into a second, forged setting.
void PutLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    for (char c : value) {
        if (c != '\r' && c != '\n') out += c;
    }
    out += "\r\n";
}

const char* FlagText(bool on) {
    return on ? "1" : "0";
}

std::optional<int> ToInt(std::optional<long long> n) {
    if (!n || *n < INT_MIN || *n > INT_MAX) return std::nullopt;
    return static_cast<int>(*n);
}

// ---- readers and writers by kind of value ----

template <CheckBox MainForm::*Box>
void ReadFlag(MainForm& F, const std::string& value, PendingValues&) {
    (F.*Box).Value = value == "1";
}

template <CheckBox MainForm::*Box>
void WriteFlag(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, FlagText((F.*Box).Value));
}

template <TextBox MainForm::*Box, long long Low, long long High>
void ReadRangedText(MainForm& F, const std::string& value, PendingValues&) {
    const auto n = ParseWholeNumber(value);
    if (n && *n >= Low && *n <= High) (F.*Box).Text = std::to_string(*n);
}

template <TextBox MainForm::*Box>
void WriteText(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, (F.*Box).Text);
}

template <size_t Option>
void ReadTimeframe(MainForm& F, const std::string& value, PendingValues&) {
    // The options form one group: choosing one clears the others.
    if (value == "1") {
        for (size_t i = 0; i < F.Include.size(); ++i) F.Include[i].Value = i == Option;
    } else {
        F.Include[Option].Value = false;
    }
}

template <size_t Option>
void WriteTimeframe(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, FlagText(F.Include[Option].Value));
}

template <size_t Box>
void ReadDisplay(MainForm& F, const std::string& value, PendingValues&) {
    F.ShowMessages[Box].Value = value == "1";
}

template <size_t Box>
void WriteDisplay(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, FlagText(F.ShowMessages[Box].Value));
}

// Left and top may be negative (a window on a screen left of the main one); a width or height
// of 0 or less would leave no window to see.
template <int MainForm::Geometry::*Side, bool MustBePositive>
void ReadWindowSide(MainForm&, const std::string& value, PendingValues& pending) {
    const auto n = ToInt(ParseRoundedNumber(value));
    if (n && (!MustBePositive || *n > 0)) pending.window.*Side = *n;
}

template <int MainForm::Geometry::*Side>
void WriteWindowSide(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, std::to_string(F.Window.*Side));
}

// ---- keys with rules of their own ----

void Ignore(MainForm&, const std::string&, PendingValues&) {}

void WriteVersion(MainForm&, std::string_view key, std::string& out) {
    PutLine(out, key, DROVIX_VERSION);
}

void ReadUserID(MainForm& F, const std::string& value, PendingValues&) {
    if (!TrimBlanks(value).empty()) F.UserID.Text = value;
}

void WriteUserID(MainForm& F, std::string_view key, std::string& out) {
    if (F.SavePW.Value) PutLine(out, key, F.UserID.Text);
}

void ReadSavePassword(MainForm&, const std::string& value, PendingValues& pending) {
    pending.savePassword = value;
}

void ReadPlainPassword(MainForm&, const std::string& value, PendingValues& pending) {
    pending.plainPassword = value;
}

void ReadScrambledPassword(MainForm&, const std::string& value, PendingValues& pending) {
    pending.scrambledPassword = value;
}

void ReadAddress(MainForm& F, const std::string& value, PendingValues&) {
    F.RouterAddress = value;
    if (!value.empty()) F.IPAddr.Text = value;
}

void ReadConvert(MainForm& F, const std::string& value, PendingValues&) {
    if (value == "1") F.CkConvertIP.Value = true;
    if (value == "0") F.CkConvertIP.Value = false;
    // Files from before the two directions were separate convert both ways alike.
    F.CkConvertURL.Value = F.CkConvertIP.Value;
}

void ReadConvertURL(MainForm&, const std::string& value, PendingValues& pending) {
    pending.convertURL = value;
}

void ReadLastMnw(MainForm& F, const std::string& value, PendingValues&) {
    F.LastMnwTime = value;
}

void WriteLastMnw(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, F.LastMnwTime);
}

void ReadWindowState(MainForm&, const std::string& value, PendingValues& pending) {
    const auto n = ParseWholeNumber(value);
    if (n && *n >= 0 && *n <= 2) pending.windowState = static_cast<int>(*n);
}

void WriteWindowState(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, std::to_string(F.WindowState));
}

// "index width"; an empty width empties the slot, as it was written.
void ReadColumnWidth(MainForm& F, const std::string& value, PendingValues&) {
    const auto blank = value.find(' ');
    const auto index = ParseWholeNumber(value.substr(0, blank));
    if (!index || *index < 0 || *index >= static_cast<long long>(F.ColumnWidthSnapshot.size())) return;
    const std::string widthText =
        blank == std::string::npos ? std::string() : TrimBlanks(value.substr(blank + 1));
    auto& slot = F.ColumnWidthSnapshot[static_cast<size_t>(*index)];
    if (widthText.empty()) {
        slot.reset();
    } else if (const auto width = ToInt(ParseRoundedNumber(widthText))) {
        slot = *width;
    }
}

void WriteColumnWidths(MainForm& F, std::string_view key, std::string& out) {
    for (int i = 0; i < kStoredColumnWidths; ++i) {
        auto& slot = F.ColumnWidthSnapshot[static_cast<size_t>(i)];
        if (i < F.SysLog.Cols()) slot = F.SysLog.ColWidth(i);
        PutLine(out, key, std::to_string(i) + " " + (slot ? std::to_string(*slot) : std::string()));
    }
}

// The widths the person gave the columns of the Incoming and Outgoing lists: "index width", one
// line each.
template <std::map<int, int> ListDisplayState::*Widths>
void ReadSetWidth(MainForm& F, const std::string& value, PendingValues&) {
    const auto blank = value.find(' ');
    const auto index = ToInt(ParseWholeNumber(value.substr(0, blank)));
    const auto width = blank == std::string::npos
                           ? std::nullopt
                           : ToInt(ParseRoundedNumber(TrimBlanks(value.substr(blank + 1))));
    const bool usable = index && width && *index >= 0 && kStdColumns > *index && *width > 0;
    if (usable) (F.display.*Widths)[*index] = *width;
}

template <std::map<int, int> ListDisplayState::*Widths>
void WriteSetWidths(MainForm& F, std::string_view key, std::string& out) {
    for (const auto& [index, width] : F.display.*Widths)
        PutLine(out, key, std::to_string(index) + " " + std::to_string(width));
}

// As the field took it: the whole number it stands for, or the default it falls back to.
void WriteTimeDifference(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, std::to_string(AcceptedTimeDifference(F.MaxTdiff.Text).value_or(30)));
}

void ReadAltAuth(MainForm& F, const std::string& value, PendingValues&) {
    const auto n = ParseWholeNumber(value);
    if (n && *n >= 0 && *n <= 3) F.AltAuth = static_cast<int>(*n);
}

void WriteAltAuth(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, std::to_string(std::abs(F.AltAuth)));
}

void ReadStdOnly(MainForm& F, const std::string& value, PendingValues&) {
    if (const auto n = ParseRoundedNumber(value)) F.StdOnly = *n != 0;
}

void WriteStdOnly(MainForm& F, std::string_view key, std::string& out) {
    PutLine(out, key, FlagText(F.StdOnly));
}

void ReadLookupThreads(MainForm& F, const std::string& value, PendingValues&) {
    if (const auto n = ParseRoundedNumber(value)) {
        F.LookupThreads = static_cast<int>(std::clamp<long long>(*n, 0, drovix::MaxLookupThreads));
    }
}

void WriteLookupThreads(MainForm& F, std::string_view key, std::string& out) {
    if (F.LookupThreads > 1) PutLine(out, key, std::to_string(F.LookupThreads));
}

// Notifications are on unless the file says NOTIFY=0; only then is the key written, so the files
// of those who keep them stay as they were.
void ReadNotify(MainForm& F, const std::string& value, PendingValues&) {
    F.NotifyOn = TrimBlanks(value) != "0";
}

void WriteNotify(MainForm& F, std::string_view key, std::string& out) {
    if (!F.NotifyOn) PutLine(out, key, "0");
}

void ReadListenAt(MainForm& F, const std::string& value, PendingValues&) {
    F.ListenAt = TrimBlanks(value);
}

// Only a file that names it carries it, so the files of those who never listen stay as they were.
void WriteListenAt(MainForm& F, std::string_view key, std::string& out) {
    if (!F.ListenAt.empty()) PutLine(out, key, F.ListenAt);
}

// Every key, in the order IniWrite writes them; the older names follow, read only.
constexpr SettingKey kSettingKeys[] = {
    {"VERSION", Ignore, WriteVersion},
    {"USERID", ReadUserID, WriteUserID},
    {"SAVEPW", ReadSavePassword, WriteFlag<&MainForm::SavePW>},
    {"ADDRESS", ReadAddress, WriteText<&MainForm::IPAddr>},
    {"RRETRY", ReadRangedText<&MainForm::RouterRetry, 1, 9>, WriteText<&MainForm::RouterRetry>},
    {"RDELAY", ReadRangedText<&MainForm::RouterDelay, 1, 9>, WriteText<&MainForm::RouterDelay>},
    {"RWAIT", ReadRangedText<&MainForm::RouterWait, 1, 9>, WriteText<&MainForm::RouterWait>},
    {"CONVERT", ReadConvert, WriteFlag<&MainForm::CkConvertIP>},
    {"CONVERTURL", ReadConvertURL, WriteFlag<&MainForm::CkConvertURL>},
    {"CACHE", ReadFlag<&MainForm::CCacheFailures>, WriteFlag<&MainForm::CCacheFailures>},
    {"COMPSB", ReadFlag<&MainForm::CompSB>, WriteFlag<&MainForm::CompSB>},
    {"COMPDX", ReadFlag<&MainForm::CompDX>, WriteFlag<&MainForm::CompDX>},
    {"COMPADDR", ReadFlag<&MainForm::CompAddr>, WriteFlag<&MainForm::CompAddr>},
    {"SYSLOG", ReadFlag<&MainForm::CSysLog>, WriteFlag<&MainForm::CSysLog>},
    {"SAVESYSLOG", ReadFlag<&MainForm::CSaveSysLog>, WriteFlag<&MainForm::CSaveSysLog>},
    {"MNW", ReadFlag<&MainForm::CmnW>, WriteFlag<&MainForm::CmnW>},
    {"LASTMNW", ReadLastMnw, WriteLastMnw},
    {"MAXTIMEDIFF", ReadRangedText<&MainForm::MaxTdiff, 1, drovix::MaxTimeDifference>, WriteTimeDifference},
    {"INCLUDEALL", ReadTimeframe<0>, WriteTimeframe<0>},
    {"INCLUDENEW", ReadTimeframe<1>, WriteTimeframe<1>},
    {"INCLUDETODAY", ReadTimeframe<2>, WriteTimeframe<2>},
    {"INCLUDEWEEK", ReadTimeframe<3>, WriteTimeframe<3>},
    {"SHOWIN", ReadDisplay<0>, WriteDisplay<0>},
    {"SHOWOUT", ReadDisplay<1>, WriteDisplay<1>},
    {"SHOWMSG", ReadDisplay<2>, WriteDisplay<2>},
    {"SHOWWARNING", ReadDisplay<3>, WriteDisplay<3>},
    {"INCLUDEDXHISTORY", ReadDisplay<4>, WriteDisplay<4>},
    {"SHOWNOTLOGGED", ReadDisplay<5>, WriteDisplay<5>},
    {"SHOWIGNORED", ReadDisplay<6>, WriteDisplay<6>},
    {"WINLEFT", ReadWindowSide<&MainForm::Geometry::Left, false>, WriteWindowSide<&MainForm::Geometry::Left>},
    {"WINTOP", ReadWindowSide<&MainForm::Geometry::Top, false>, WriteWindowSide<&MainForm::Geometry::Top>},
    {"WINWIDTH", ReadWindowSide<&MainForm::Geometry::Width, true>,
     WriteWindowSide<&MainForm::Geometry::Width>},
    {"WINHEIGHT", ReadWindowSide<&MainForm::Geometry::Height, true>,
     WriteWindowSide<&MainForm::Geometry::Height>},
    {"WINSTATE", ReadWindowState, WriteWindowState},
    {"COLWIDTH", ReadColumnWidth, WriteColumnWidths},
    {"INCOLWIDTH", ReadSetWidth<&ListDisplayState::InLogWidths>,
     WriteSetWidths<&ListDisplayState::InLogWidths>},
    {"OUTCOLWIDTH", ReadSetWidth<&ListDisplayState::OutLogWidths>,
     WriteSetWidths<&ListDisplayState::OutLogWidths>},
    {"ALTAUTH", ReadAltAuth, WriteAltAuth},
    {"SRONLY", ReadStdOnly, WriteStdOnly},
    {"UTHREADS", ReadLookupThreads, WriteLookupThreads},
    {"LISTEN", ReadListenAt, WriteListenAt},
    {"NOTIFY", ReadNotify, WriteNotify},
    // Older names, same meaning.
    {"SHOWALL", ReadTimeframe<0>, nullptr},
    {"SHOWNEW", ReadTimeframe<1>, nullptr},
    {"SHOWTODAY", ReadTimeframe<2>, nullptr},
    {"SHOWNOTLOG", ReadDisplay<5>, nullptr},
    {"SHOWROUTERONLY", ReadDisplay<4>, nullptr},
    // Passwords kept in the file by older versions; never written again.
    {"PW", ReadPlainPassword, nullptr},
    {"PWE", ReadScrambledPassword, nullptr},
};

void ApplyLine(MainForm& F, const std::string& line, PendingValues& pending) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) return;
    const std::string key = UpperAscii(TrimBlanks(std::string_view(line).substr(0, equals)));
    const std::string value = line.substr(equals + 1);
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.name == key) {
            setting.read(F, value, pending);
            return;
        }
    }
}

void ApplyConversionChoices(MainForm& F, const PendingValues& pending) {
    if (pending.convertURL == "1") F.CkConvertURL.Value = true;
    if (pending.convertURL == "0") F.CkConvertURL.Value = false;
    // What the file says is what takes effect; later ticks wait until the options panel closes.
    F.ConvertIPInEffect = F.CkConvertIP.Value;
    F.ConvertURLInEffect = F.CkConvertURL.Value;
}

// A password that an older version kept in the file moves into the per-user store. When the file
// does not say whether to save the password, the old file evidently kept it, so it stays saved
// rather than being dropped at the next write.
void ApplyOldFilePassword(MainForm& F, const PendingValues& pending, const PasswordStoreAccess& store) {
    const bool scrambled = !pending.scrambledPassword.empty();
    if (!scrambled && pending.plainPassword.empty()) return;
    const std::string password =
        scrambled ? Enc(pending.scrambledPassword, F.ScrambleKey, true) : pending.plainPassword;
    F.PW.Text = password;
    F.SavePW.Enabled = true;
    if (!pending.savePassword) F.SavePW.Value = true;
    if (!F.SavePW.Value) return;
    F.StoredPassword = scrambled ? pending.scrambledPassword : Enc(password, F.ScrambleKey, false);
    store.Write(F.StoredPassword);
}

void ApplyPasswords(MainForm& F, const PendingValues& pending, const PasswordStoreAccess& store) {
    if (pending.savePassword == "1") {
        F.SavePW.Enabled = true;
        F.SavePW.Value = true;
        F.StoredPassword = store.Read();
        F.PW.Text = Enc(F.StoredPassword, F.ScrambleKey, true);
    } else if (pending.savePassword) {
        F.SavePW.Value = false;
        store.Delete();
    }
    ApplyOldFilePassword(F, pending, store);
}

void ApplyColumnWidths(MainForm& F) {
    F.SysLog.SetCols(kSysLogColumns);
    for (int i = 0; i < kSysLogColumns; ++i) {
        const auto& slot = F.ColumnWidthSnapshot[static_cast<size_t>(i)];
        if (slot && *slot > 0) F.SysLog.SetColWidth(i, *slot);
    }
}

void UpdatePasswordStore(MainForm& F) {
    if (F.SavePW.Value) {
        WriteStoredPassword(Enc(F.PW.Text, F.ScrambleKey, false));
    } else {
        DeleteStoredPassword();
    }
}

// The value of up to two hex digits at pos; 0 where there are none.
int HexPairAt(const std::string& text, size_t pos) {
    int value = 0;
    for (size_t i = pos; i < pos + 2 && i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

void IniRead(MainForm& F) {
    // A message about an unreadable file below shows the window, and showing it writes the
    // window's geometry back into the form; the file's values apply to the window as it was.
    const MainForm::Geometry window = F.Window;
    const int windowState = F.WindowState;
    std::string bytes;
    // A settings file that exists but cannot be read is never replaced by one made of defaults.
    F.SettingsFileUnreadable =
        ReadSettingsFile(F, std::string(kSettingsFileName), bytes) == SettingsFileRead::Unreadable;
    ReadStillbeaconIni(F);
    ReadDontLogLists(F);
    F.Window = window;
    F.WindowState = windowState;
    ApplyDrovixIni(F, bytes);
}

bool ReadDrovixIniOnly(MainForm& F) {
    std::string bytes;
    if (ReadSettingsFile(F, std::string(kSettingsFileName), bytes) == SettingsFileRead::Unreadable)
        return false;
    const PasswordStoreAccess untouched{[] { return std::string(); }, [](const std::string&) {}, [] {}};
    ApplyDrovixIni(F, bytes, untouched);
    return true;
}

void ApplyDrovixIni(MainForm& F, std::string_view bytes, const PasswordStoreAccess& store) {
    PendingValues pending;
    pending.window = F.Window;
    pending.windowState = F.WindowState;
    F.RouterRetry.Text = drovix::DefaultRouterRetry;
    F.RouterDelay.Text = drovix::DefaultRouterDelay;
    F.RouterWait.Text = drovix::DefaultRouterWait;

    for (const std::string& line : SplitLines(bytes)) ApplyLine(F, line, pending);
    ApplyConversionChoices(F, pending);
    ApplyPasswords(F, pending, store);

    ApplyColumnWidths(F);
    if (F.IPAddr.Text.empty()) F.IPAddr.Text = "192.168.1.1";

    F.LookupThreads = std::clamp(F.LookupThreads, 0, drovix::MaxLookupThreads);
    F.WindowState = pending.windowState;
    F.Window = pending.window;
}

bool IniWrite(MainForm& F) {
    UpdatePasswordStore(F);
    std::string text;
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.write != nullptr) setting.write(F, setting.name, text);
    }

    if (F.SettingsFileUnreadable) return false;
    if (!SaveFileIfChanged(F.ProgramDir + std::string(kSettingsFileName), text)) return false;
    F.SettingsChanged = false;
    F.display.StdWidthsChanged = false;
    return true;
}

bool SaveSettings(MainForm& F) {
    if (IniWrite(F)) return true;
    ReportProblem(
        F, "Drovix could not save its settings in \"" + F.ProgramDir + std::string(kSettingsFileName) + "\"",
        MsgIcon::Exclamation, MsgButtons::OK, drovix::ErrorTitle);
    return false;
}

std::string Enc(const std::string& text, const std::string& key, bool decode) {
    std::string result;
    if (decode) {
        for (size_t i = 0; i < text.size(); i += 2) {
            result += static_cast<char>(HexPairAt(text, i) ^ HexPairAt(key, i));
        }
        return result;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (size_t i = 0; i < text.size(); ++i) {
        const int code = static_cast<unsigned char>(text[i]) ^ HexPairAt(key, 2 * i);
        result += kHex[code >> 4];
        result += kHex[code & 15];
    }
    return result;
}
