#pragma once
#include <string>

#include "form/ListDisplayState.h"

class RecordGrid;
struct MainForm;

// The order a sort of the System Log list by `column` uses. how 0 is a header click: the same
// column again turns an ascending order round and a descending one back; a new column starts
// descending for Date and Time (newest first) and ascending otherwise. how 1-6 asks for the
// ascending or descending form of the column's own order; anything else gives that order.
int ChooseSortOrder(int column, int how, int lastColumn, int lastOrder);

// The address column's sort text: the address as four 3-digit groups, then the row's date and
// time, so that addresses sort by number and equal addresses by time.
std::string AddressSortText(std::string_view address, std::string_view date, std::string_view time);

// Sorts the records of the System Log list by a column and the one after it (the last two
// columns alone), in the given order. Rows move whole, with their colours, tags and keys; rows
// that compare equal keep their order. By date, each separator stands where it stood in time (a
// day's row between its two days, the new records' row before the first new record); by any other
// column they separate nothing and are hidden at the end of the list.
void SortSysLogRows(RecordGrid& list, int column, int order);

// Sorts the System Log list, scrolls it to the top, makes the column's header cell current and
// remembers the column and order for the next header click.
void SortBy(MainForm& F, int column, int how);
