// The operators as a script sees them are in testdata/operators.vbs; here
// what a script file cannot hold, and every path that works an operator out
// (testdata/operator_paths.vbs.in) held to the general rules.
#include "script/operators.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "script/convert.h"
#include "script/test_util.h"

namespace script {
namespace {

TEST(ScriptOperators, DirectCalls) {
    bool isNull = false;
    EXPECT_EQ(CompareValues(Value::String("abc"), Value::String("ABC"), true, &isNull), 0);
    EXPECT_EQ(CompareValues(Value::String("abc"), Value::String("ABC"), false, &isNull), 1);
    // Bytes that are not UTF-8 are read in the legacy code page: the euro
    // sign (U+20AC) after y with diaeresis (U+00FF).
    Engine engine;
    EXPECT_EQ(Show(engine, "\"\x80\" > \"\xFF\""), "Boolean:True");
}

constexpr std::pair<const char*, BinaryOp> kOperators[] = {
    {"+", BinaryOp::kAdd},  {"-", BinaryOp::kSub},     {"*", BinaryOp::kMul},
    {"/", BinaryOp::kDiv},  {"\\", BinaryOp::kIntDiv}, {"Mod", BinaryOp::kMod},
    {"^", BinaryOp::kPow},  {"&", BinaryOp::kConcat},  {"=", BinaryOp::kEq},
    {"<>", BinaryOp::kNe},  {"<", BinaryOp::kLt},      {"<=", BinaryOp::kLe},
    {">", BinaryOp::kGt},   {">=", BinaryOp::kGe},     {"And", BinaryOp::kAnd},
    {"Or", BinaryOp::kOr},  {"Xor", BinaryOp::kXor},   {"Eqv", BinaryOp::kEqv},
    {"Imp", BinaryOp::kImp}};

std::string Replaced(std::string s, std::string_view from, std::string_view to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) {
        s.replace(at, from.size(), to);
    }
    return s;
}

// testdata/operator_paths.vbs.in: its operands, its Path functions, and the
// script for one operator, which runs every pair through every path into
// Out (the values) and Errs (the error numbers), pair by pair.
struct PathScript {
    std::vector<std::string> operands;
    std::vector<std::string> paths;
    std::string text;

    PathScript() {
        std::ifstream in(std::filesystem::path(VANTREL_SOURCE_DIR) /
                         "src/script/testdata/operator_paths.vbs.in");
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("'= ")) operands.push_back(line.substr(3));
            if (line.starts_with("Function Path")) {
                paths.push_back(line.substr(9, line.find('(') - 9));
            }
            text += line + '\n';
        }
    }

    std::string For(std::string_view op) const {
        std::string out = "V = Array(";
        for (size_t j = 0; j < operands.size(); ++j) out += (j ? ", " : "") + operands[j];
        const size_t count = operands.size() * operands.size() * paths.size();
        out += ")\nReDim Out(" + std::to_string(count) + "), Errs(" + std::to_string(count) +
               ")\nSub Drive\nDim i, j, k\nOn Error Resume Next\nFor i = 0 To UBound(V)\nFor j = 0 "
               "To UBound(V)\n";
        for (const std::string& p : paths) {
            out +=
                "Err.Clear: Out(k) = " + p + "(V(i), V(j), j): Errs(k) = Err.Number: k = k + 1\n";
        }
        out += "Next\nNext\nEnd Sub\n";
        std::string lines;
        for (size_t at = 0, end; at < text.size(); at = end + 1) {
            end = text.find('\n', at);
            const std::string line = text.substr(at, end - at + 1);
            if (!line.starts_with("'$")) lines += line;
            for (size_t j = 0; line.starts_with("'$") && j < operands.size(); ++j) {
                lines +=
                    Replaced(Replaced(line.substr(2), "$j", std::to_string(j)), "$b", operands[j]);
            }
        }
        return out + Replaced(lines, "@", op) + "Drive\n";
    }
};

// An error as compared: its number. Built by appending, which GCC 12 does
// not mistake for an overlapping copy.
std::string ErrorShown(int number) {
    std::string out = "#";
    out += std::to_string(number);
    return out;
}

// A value as compared: its subtype and text, and a Double's every bit.
std::string Shown(Engine& engine, const Value& v) {
    std::string text;
    engine.ToText(v, &text);
    if (v.type() == Type::Double) {
        char bits[32];
        std::snprintf(bits, sizeof bits, " %a", v.AsDouble());
        text += bits;
    }
    return TypeName(v) + ":" + text;
}

// What the general rules give a @ b, as a path reports it: a condition
// tests Null as False.
std::string General(Engine& engine, const Host& host, BinaryOp op, const Value& a, const Value& b,
                    bool tested) {
    try {
        const Value r = ApplyBinary(op, a, b, host);
        if (tested) return Shown(engine, Value::Boolean(!r.IsNull() && ToBoolean(r)));
        return Shown(engine, r);
    } catch (const ScriptError& e) {
        return ErrorShown(e.number);
    }
}

TEST(ScriptOperators, EveryPathAgreesWithTheGeneralRules) {
    const PathScript script;
    ASSERT_GT(script.operands.size(), 20u);
    ASSERT_GT(script.paths.size(), 5u);
    for (const auto& [op, binaryOp] : kOperators) {
        Host host;
        Engine engine(&host);
        ASSERT_TRUE(engine.ExecuteStatement(script.For(op))) << op << ": " << Failure(engine);
        Value out, errs;
        ASSERT_TRUE(engine.ReadVariable("Out", &out) && engine.ReadVariable("Errs", &errs));
        size_t k = 0;
        for (const std::string& a : script.operands) {
            for (const std::string& b : script.operands) {
                Value x, y;
                ASSERT_TRUE(engine.Eval(a, &x) && engine.Eval(b, &y)) << a << ", " << b;
                for (const std::string& path : script.paths) {
                    const Value& error = errs.AsArray()->items[k];
                    const std::string got = error.AsLong() != 0
                                                ? ErrorShown(error.AsLong())
                                                : Shown(engine, out.AsArray()->items[k]);
                    EXPECT_EQ(got, General(engine, host, binaryOp, x, y, path == "PathTest"))
                        << a << " " << op << " " << b << " by " << path;
                    ++k;
                }
            }
        }
    }
}

}  // namespace
}  // namespace script
