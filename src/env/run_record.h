// The plain-text record of a run that "/LOG=file" asks for: what happened, one line each,
// for the administrator who rolls the program out. Each line goes to the file at once, so a
// run that is killed leaves its record up to that moment.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// Starts the record in path, replacing an older one, its folders made where missing; false
// when the file cannot be made (the run goes on without a record).
bool OpenRunRecord(const std::string& path);
// Adds one line of the pieces, with the time in front; line breaks become blanks. Nothing
// happens when no record was asked for.
void RecordRun(std::initializer_list<std::string_view> pieces);
