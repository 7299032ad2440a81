#include <gtest/gtest.h>

#include "form/Colours.h"
#include "form/RecordGrid.h"
#include "form/SysLogState.h"
#include "syslog/SysLogAdmission.h"

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
