#pragma once

#include <QString>
#include <QStringList>

// The comma rule: splits a record into its fields. Blanks (codes 1 to 32) around fields are
// dropped and end an unquoted field; a field in double quotes may hold blanks and commas, two
// double quotes inside it standing for one; a comma at the very end adds an empty field. A quoted
// field without its closing quote holds the rest of the record. A NUL ends the record.
QStringList CommaTextFields(const QString& record);
