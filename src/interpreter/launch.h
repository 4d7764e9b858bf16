// Opening whatever is not a built-in command: batch files of the console's
// own .dcb format run here, everything else goes to the shell.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Interpreter;

// The answer to a name that opens nothing.
inline constexpr char kInvalidTarget[] = "Invalid command, filename or URL";

// Names the user may have meant by a word that opened nothing, best first,
// at most `most` of them: the console's line editor knows the programs.
class NameSuggester {
  public:
    virtual std::vector<std::string> SimilarNames(const std::string& word, size_t most) = 0;

  protected:
    ~NameSuggester() = default;
};

// A .dcb file, or a name without an extension that names one, runs as a
// batch file; anything else goes to the shell, unless the shell cannot take
// it or it names a device. False, with the reason, when neither could open
// it.
bool OpenTarget(Interpreter& in, const std::string& target, const std::string& params, int style,
                std::string* err);
// Runs a .dcb file line by line: the name as given (".dcb" added when it
// lacks it), or a bare name along PATH. False, with the reason, when no such
// file could be read.
bool RunBatch(Interpreter& in, const std::string& file, const std::string& params,
              std::string* err);

// Puts the parameters into a batch line: the doubled marker takes the whole
// parameter text, the marker around a number n the n-th parameter.
std::string SubstituteBatchParams(std::string line, const std::string& marker,
                                  const std::string& params);

}  // namespace vantrel
