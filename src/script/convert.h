// VBScript's coercions between subtypes. Inside the engine a failed
// coercion throws ScriptError (13 Type mismatch, 6 Overflow, 94 Invalid use
// of Null); the engine turns that into an Error value at its boundary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/host.h"
#include "script/value.h"

namespace script {

// The host used when none is given: US English formats and the system clock.
const Host& DefaultHost();

// Reads numeric text as VBScript does: surrounding blanks, a sign, digits
// with optional thousands commas, a decimal point, an exponent (E or D), or
// &H / &O radix forms. False when the text is not a number.
bool ParseNumber(std::string_view text, double* value);

// Round half to even, as every VBScript integer conversion does.
double RoundHalfEven(double value);

double ToDouble(const Value& v);
float ToSingle(const Value& v);
int32_t ToLong(const Value& v);
int16_t ToInteger(const Value& v);
uint8_t ToByte(const Value& v);
int64_t ToCurrency(const Value& v);
bool ToBoolean(const Value& v);
double ToDate(const Value& v, const Host& host);
std::string ToString(const Value& v, const Host& host);

// The operand form arithmetic works on: Empty becomes Integer 0, Boolean
// becomes Integer, a String becomes Double; numbers and dates are unchanged.
// Null stays Null; objects and arrays are a Type mismatch.
Value ToNumeric(const Value& v);

// Currency arithmetic helpers: values in ten-thousandths.
bool CurrencyFromDouble(double value, int64_t* out);
double CurrencyToDouble(int64_t tenThousandths);

// Binary comparison in UTF-16 order, as VBScript compares its strings.
int CompareBinary(std::string_view a, std::string_view b);
// Text comparison: case-insensitive in every script.
int CompareText(std::string_view a, std::string_view b);

}  // namespace script
