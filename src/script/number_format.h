// Numbers as VBScript writes them: at most 15 significant digits for a
// Double (7 for a Single), exponent form (1E+20, 1E-05) where %G would use
// it, and always a digit before the decimal point (-0.5).
#pragma once

#include <cstdint>
#include <string>

namespace script {

std::string FormatDouble(double value);
std::string FormatSingle(float value);
std::string FormatCurrency(int64_t tenThousandths);

}  // namespace script
