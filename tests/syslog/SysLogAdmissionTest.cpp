#include <gtest/gtest.h>

#include "syslog/SysLogAdmission.h"
#include "syslog/SysLogState.h"
#include "ui/Colours.h"
#include "ui/RecordGrid.h"

namespace {

using R = SysLogRecord;

SysLogRecord Record(const std::string& date, const std::string& dir) {
    SysLogRecord r;
    r[R::Date] = date;
    r[R::Time] = "10:00:00";
    r[R::Dir] = dir;
    r[R::RemAddr] = "198.51.100.7";
    r[R::RowTag] = "R";
    return r;
}

// The list grows fifty rows at a time, and a record of a later day gets a blue row before it,
// an earlier one none.
TEST(SysLogAdmission, GrowsInStepsAndSeparatesDays) {
    RecordGrid list;
    list.SetCols(12);
    list.SetRows(51);
    SysLogState state;
    state.SysRowCount = 49;
    const AdmissionOptions options;
    EXPECT_EQ(AdmitRecord(Record("2005-01-08", "I"), options, "", list, state), Admission::Added);
    EXPECT_EQ(list.Rows(), 51);
    EXPECT_EQ(AdmitRecord(Record("2005-01-09", "I"), options, "", list, state), Admission::Added);
    EXPECT_EQ(list.Rows(), 101);
    EXPECT_EQ(state.SysRowCount, 52);
    EXPECT_EQ(list.CellBackColorAt(51, 0), DayChangeColour);
    EXPECT_EQ(list.TextMatrix(51, R::Date), "");
    EXPECT_EQ(list.TextMatrix(52, R::Date), "2005-01-09");
    EXPECT_EQ(AdmitRecord(Record("2005-01-07", "I"), options, "", list, state), Admission::Added);
    EXPECT_EQ(state.SysRowCount, 53);
}

// A full list refuses the record (and its separator) instead of growing without bound.
TEST(SysLogAdmission, AFullListTakesNoMoreRows) {
    RecordGrid list;
    list.SetCols(12);
    list.SetRows(MaxSysLogRows);
    SysLogState state;
    state.SysRowCount = MaxSysLogRows - 2;
    const AdmissionOptions options;
    EXPECT_EQ(AdmitRecord(Record("2005-01-08", "I"), options, "", list, state), Admission::Added);
    EXPECT_EQ(AdmitRecord(Record("2005-01-08", "I"), options, "", list, state), Admission::ListFull);
    EXPECT_EQ(AdmitRecord(Record("2005-01-09", "M"), options, "", list, state), Admission::ListFull);
    EXPECT_FALSE(StartNew(list, state));
    EXPECT_EQ(list.Rows(), MaxSysLogRows);
}

}  // namespace
