#include "commands/web_commands.h"

#include <algorithm>

#include "interpreter/command_table.h"
#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "interpreter/text.h"
#include "interpreter/variables.h"
#include "platform/shell.h"

namespace vantrel {

namespace {

constexpr char kScheme[] = "http://";
constexpr char kMainSite[] = "www";
constexpr char kProductSite[] = "vtrl";
constexpr char kLoginPath[] = "login/?orid=";
constexpr char kNoDetails[] = "No ORID details have been set";
constexpr char kOridLine[] = "ORID: ";
constexpr char kVersionLine[] = "Orvane Vantrel ";
constexpr char kUpdateHint[] = "Enter UPDATE to check for newer versions";

void OpenPage(Interpreter& in, const std::string& target) {
    OpenTarget(in, PageAddress(target, in.accountUser, in.accountPass), "", kShowNormal);
}

}  // namespace

std::string SiteAddress(const std::string& subdomain) {
    return std::string(kScheme) + subdomain + "." + kMakerDomain + "/";
}

std::string PageAddress(const std::string& target, const std::string& user,
                        const std::string& pass) {
    if (user.empty() || pass.empty()) return target;
    return SiteAddress(kMainSite) + kLoginPath + UrlHex(user) + "&password=" + UrlHex(pass) +
           "&autologin=on&retpage=" + UrlHex(target);
}

std::string HelpAddress(const std::string& topic) {
    std::string page = topic.empty() ? "index" : ReplaceAll(LowerCase(topic), " ", "");
    return SiteAddress(kProductSite) + "documentation/" + page + ".html";
}

void Orid(Interpreter& in, const Command& c) {
    std::string user = c.Arg(1);
    if (!c.args.empty() && user.find(' ') == std::string::npos) {
        in.accountUser = user;
        if (!c.Arg(2).empty()) {
            std::string pass = c.args.substr(std::min(user.size() + 1, c.args.size()));
            if (pass.rfind("\" ", 0) == 0) pass.erase(0, 2);
            in.accountPass = pass;
        } else {
            in.consoleState = kAccountPassword;
        }
        return;
    }
    if (!in.accountUser.empty()) {
        in.PrintOut(kOridLine + in.accountUser);
        return;
    }
    in.PrintOut(kNoDetails);
    PrintSyntax(in, c);
}

void OrvaneSite(Interpreter& in, const Command& c) {
    if (!c.Arg(2).empty()) {
        PrintSyntax(in, c);
        return;
    }
    std::string subdomain = c.Arg(1);
    OpenPage(in, SiteAddress(subdomain.empty() ? kMainSite : subdomain));
}

void Ver(Interpreter& in, const Command& c) {
    if (!c.args.empty()) {
        PrintSyntax(in, c);
        return;
    }
    in.PrintOut(std::string(kVersionLine) + kVersionText);
    in.PrintOut(kUpdateHint);
}

void Help(Interpreter& in, const Command& c) {
    OpenPage(in, HelpAddress(c.args));
}

void UpdateSyntax(Interpreter& in, const Command& c) {
    PrintSyntax(in, c);
}

}  // namespace vantrel
