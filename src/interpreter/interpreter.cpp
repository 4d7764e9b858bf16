#include "interpreter/interpreter.h"

#include "interpreter/expansion.h"
#include "interpreter/line_text.h"
#include "interpreter/settings.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

constexpr char kFormFeed[] = "\f";

}  // namespace

Interpreter::Interpreter(Platform& platform, ConsoleHost& host, const CommandTable& commands)
    : platform_(platform),
      host_(host),
      commands_(commands),
      scriptHost_(platform.clock, platform.dialogs, *this),
      engine_(&scriptHost_),
      variables_(engine_) {
    platform.files.SetKeepGoing([this] { return KeepGoing(); });
    platform.dialogs.SetStopKeyHandler([this] { RequestStop(); });
}

Interpreter::~Interpreter() {
    platform_.dialogs.SetStopKeyHandler(nullptr);
    platform_.files.SetKeepGoing(nullptr);
}

void Interpreter::PrintOut(std::string_view text) {
    if (!pendingOutput_.empty()) pendingOutput_.append("\r\n");
    pendingOutput_.append(text);
    if (pendingOutput_.size() > kMaxPendingOutput) TrimPendingOutput();
}

// The pane keeps only its last lines, so a command that prints without end
// (a huge TYPE, a runaway batch file) loses nothing visible when the oldest
// pending lines go. A clear request among them still clears the pane.
void Interpreter::TrimPendingOutput() {
    size_t cut = pendingOutput_.find("\r\n", pendingOutput_.size() - kMaxPendingOutput / 2);
    if (cut == std::string::npos)
        cut = pendingOutput_.size() - kMaxPendingOutput / 2;
    else
        cut += 2;
    const bool clears = pendingOutput_.find('\f') < cut;
    pendingOutput_.erase(0, cut);
    if (clears) pendingOutput_.insert(0, "\f\r\n");
}

script::Value Interpreter::Evaluate(std::string_view expression) {
    script::Value value;
    if (!engine_.Eval(expression, &value)) return script::Value();
    return value;
}

std::string Interpreter::EvaluateText(std::string_view expression) {
    std::string text;
    script::Error err;
    if (!ValueText(Evaluate(expression), &text, &err)) return std::string();
    return text;
}

bool Interpreter::ValueText(const script::Value& value, std::string* text, script::Error* err) {
    if (!value.IsObject() || value.IsNothing()) {
        return script::ToText(value, text, err, &scriptHost_);
    }
    // An object reads as its default member, as a script host shows it: a
    // RegExp match its text, an automation object its default property;
    // one with none says so (438).
    if (engine_.ToText(value, text)) return true;
    *err = engine_.LastError();
    return false;
}

std::string Interpreter::SettingText(std::string_view name) {
    script::Value value;
    std::string text;
    script::Error err;
    // An object's default member would be script code: no setting is one.
    if (!engine_.ReadVariable(name, &value) || value.IsObject()) return text;
    if (!script::ToText(value, &text, &err, &scriptHost_)) text.clear();
    return text;
}

double Interpreter::SettingNumber(std::string_view name) {
    return LeadingNumber(SettingText(name));
}

bool Interpreter::SetVar(const std::string& name, const std::string& value) {
    return variables_.SetVar(name, value);
}

Interpreter::Activity::Activity(Interpreter& in) : in_(in) {
    if (in_.depth_++ > 0) return;
    // A stop meant for earlier work is spent with it.
    in_.stopRequested_ = false;
    in_.host_.LineStarted();
}

Interpreter::Activity::~Activity() {
    if (--in_.depth_ == 0) in_.host_.LineEnded();
}

Interpreter::PermitScope::PermitScope(Interpreter& in, const CommandPermit& permit)
    : in(in), permit(permit), outer(in.permitScope_) {
    in.permitScope_ = this;
}

Interpreter::PermitScope::~PermitScope() {
    in.permitScope_ = outer;
}

std::string Interpreter::RunPermitted(const std::string& line, const CommandPermit& permit) {
    std::string refusal = RefuseLine(permit, commands_, Markers(), line, &engine_);
    if (refusal.empty()) return RunGuarded(line, permit);
    RunShownLine(line, [&] { PrintOut(refusal); });
    return refusal;
}

std::string Interpreter::RunGuarded(const std::string& line, const CommandPermit& permit) {
    Activity activity(*this);
    PermitScope scope(*this, permit);
    RunLine(line);
    return scope.refusal;
}

void Interpreter::RunCommand(const std::string& line) {
    Activity activity(*this);
    RunLine(line);
}

bool Interpreter::Poll() {
    host_.KeepAlive();
    return stopRequested_;
}

void Interpreter::RequestStop() {
    if (!Running()) return;
    stopRequested_ = true;
    // A box waits for an answer in its own loop and would keep the line
    // waiting with it: it goes as Cancel would, and the script stops as
    // soon as the box has returned.
    if (DialogOpen()) platform_.dialogs.CloseBox();
}

void Interpreter::RunLine(const std::string& lineIn) {
    StartLine(lineIn);
    RunSegments(lineIn.substr(PrefixLength(lineIn)));
}

void Interpreter::StartLine(const std::string& shown) {
    currentLine_ = shown;
    const char first = shown.empty() ? '\0' : shown[0];
    if (SettingOn(settings::kOutputKeep) || first == '&') {
        if (platform_.bar.PaneHasText()) PrintOut("");
    } else {
        PrintOut(kFormFeed);
    }
    if (SettingOn(settings::kEcho) && first != '@') {
        PrintOut(platform_.files.CurrentDirectory() + ">" + shown);
    }
}

void Interpreter::RunShownLine(const std::string& shown, const std::function<void()>& body) {
    Activity activity(*this);
    StartLine(shown);
    body();
    SetVar(settings::kCurDir, platform_.files.CurrentDirectory());
}

void Interpreter::RunSegments(std::string line) {
    std::string remainder;
    int rewrites = 0;
    for (;;) {
        // The settings are read afresh for each command: the one before may
        // have changed them.
        const LineMarkers markers = Markers();
        const size_t at = FindSeparator(line, markers.separator);
        if (at != std::string::npos) {
            size_t end = at + markers.separator.size();
            text::MatchesAt(line, at, markers.separator, &end);
            remainder = line.substr(end);
            line.resize(at);
        }
        if (Os().codePages.ProcessIsUtf8()) {
            for (const std::string* marker : {&markers.environment, &markers.variable}) {
                const std::string legacy = Os().codePages.ToLegacy(*marker);
                if (legacy.size() == 1) MatchLegacyMarker(&line, *marker, legacy[0]);
            }
        }
        if (permitScope_) {
            std::string refusal =
                RefuseCommand(permitScope_->permit, commands_, markers, line, &engine_);
            if (!refusal.empty()) {
                PrintOut(refusal);
                permitScope_->refusal = std::move(refusal);
                return;
            }
        }
        ExpansionResult env = ExpandMarkers(
            &line, markers.environment, [this](const std::string& name) { return EnvGet(name); });
        if (env.stopped) PrintOut(env.message);
        ExpansionResult vars =
            ExpandMarkers(&line, markers.variable,
                          [this](const std::string& name) { return EvaluateText(name); });
        if (vars.stopped) PrintOut(vars.message);

        Command command = ParseCommand(line);
        if (!command.line.empty()) {
            std::string rewritten;
            if (Dispatch(*this, commands_, command, &rewritten) && rewrites < kMaxRewrites) {
                ++rewrites;
                line = std::move(rewritten);
                continue;
            }
        }
        SetVar(settings::kCurDir, platform_.files.CurrentDirectory());
        if (remainder.empty() || exitRequested || Poll()) return;
        line = std::move(remainder);
        remainder.clear();
    }
}

LineMarkers Interpreter::Markers() {
    return {SettingText(settings::kCmdSepString), SettingText(settings::kVarString),
            SettingText(settings::kVarEnvString)};
}

std::string Interpreter::EnvGet(const std::string& name) const {
    std::string value;
    if (!platform_.environment.Get(name, &value)) return std::string();
    return value;
}

}  // namespace vantrel
