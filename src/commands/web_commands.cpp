#include "commands/web_commands.h"

#include <algorithm>

#include "interpreter/interpreter.h"
#include "interpreter/launch.h"
#include "interpreter/variables.h"
#include "platform/shell.h"
#include "text/case_fold.h"
#include "text/compare.h"

namespace vantrel {

namespace {

constexpr char kScheme[] = "http://";
constexpr char kMainSite[] = "www";
constexpr char kProductSite[] = "vtrl";
constexpr char kDonationSite[] = "donate";
constexpr char kLoginPath[] = "login/?orid=";
constexpr char kNoDetails[] = "No ORID details have been set";
constexpr char kOridLine[] = "ORID: ";
constexpr char kVersionLine[] = "Orvane Vantrel ";
constexpr char kUpdateHint[] = "Enter UPDATE to check for newer versions";

// The browser reports its own failures; only an address the shell cannot
// take is answered here.
void OpenPage(Interpreter& in, const std::string& target) {
    const SiteAccount& account = in.Host().Account();
    std::string err;
    if (!OpenTarget(in, PageAddress(target, account.user, account.pass), "", kShowNormal, &err) &&
        err == kInvalidTarget) {
        in.PrintOut(err);
    }
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
    std::string page = topic.empty() ? "index" : text::ReplaceAll(text::LowerCase(topic), " ", "");
    return SiteAddress(kProductSite) + "documentation/" + page + ".html";
}

void OridCommand(Interpreter& in, const Command& c) {
    SiteAccount& account = in.Host().Account();
    std::string user = c.Arg(1);
    if (!c.args.empty() && user.find(' ') == std::string::npos) {
        account.user = user;
        if (!c.Arg(2).empty()) {
            std::string pass = c.args.substr(std::min(user.size() + 1, c.args.size()));
            if (pass.rfind("\" ", 0) == 0) pass.erase(0, 2);
            account.pass = pass;
        } else {
            in.Host().AskAccountPassword();
        }
        return;
    }
    if (!account.user.empty()) {
        in.PrintOut(kOridLine + account.user);
        return;
    }
    in.PrintOut(kNoDetails);
    PrintSyntax(in, c);
}

void OrvaneSiteCommand(Interpreter& in, const Command& c) {
    std::string subdomain = c.Arg(1);
    OpenPage(in, SiteAddress(subdomain.empty() ? kMainSite : subdomain));
}

void VerCommand(Interpreter& in, const Command&) {
    in.PrintOut(std::string(kVersionLine) + kVersionText);
    in.PrintOut(kUpdateHint);
}

void HelpCommand(Interpreter& in, const Command& c) {
    OpenPage(in, HelpAddress(c.args));
}

void DonateCommand(Interpreter& in, const Command&) {
    OpenPage(in, SiteAddress(kDonationSite));
}

void UpdateCommand(Interpreter& in, const Command&) {
    OpenPage(in, SiteAddress(kProductSite));
}

}  // namespace vantrel
