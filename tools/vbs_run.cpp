// vantrel_vbs: runs .vbs files with the console's script engine, as cscript
// runs them: WScript.Echo and MsgBox print to stdout, and an error that ends
// a script prints as its last line, "PATH(LINE, COLUMN) VBScript runtime
// error: TEXT" (or "compilation error") with PATH as given. Several files run one after the other,
// each in a fresh engine, after a "==> NAME" line, so that one process serves
// a whole test run. Exit status 1 when any script stopped on an error.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "script/engine.h"
#ifdef _WIN32
#include "platform/win32/com_provider.h"
#endif

namespace {

class StdoutHost : public script::Host {
  public:
    void Echo(std::string_view text) override {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
    }
    int MsgBox(std::string_view prompt, int, std::string_view) override {
        Echo(prompt);
        return 1;
    }
};

bool ReadSource(const char* path, std::string* source) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    source->clear();
    for (char c : buffer.str()) {
        if (c != '\r') *source += c;
    }
    return true;
}

// The engine ends before the caller goes on: objects alive at the end of the
// script run their Class_Terminate inside the script's output.
bool RunFile(const char* path) {
    std::string source;
    if (!ReadSource(path, &source)) {
        std::fprintf(stderr, "vantrel_vbs: cannot read %s\n", path);
        return false;
    }
    StdoutHost host;
    bool ok = true;
    {
        script::Engine engine(&host);
#ifdef _WIN32
        static vantrel::com::ComObjectProvider objects;
        engine.SetObjectProvider(&objects);
#endif
        if (!engine.ExecuteStatement(source)) {
            std::printf("%s\n", script::HostErrorLine(path, engine.LastError()).c_str());
            ok = false;
        }
    }
    std::fflush(stdout);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vantrel_vbs file.vbs [file.vbs...]\n");
        return 2;
    }
#ifdef _WIN32
    vantrel::com::ComApartment apartment;
#endif
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        if (argc > 2) std::printf("==> %s\n", argv[i]);
        ok = RunFile(argv[i]) && ok;
    }
    return ok ? 0 : 1;
}
