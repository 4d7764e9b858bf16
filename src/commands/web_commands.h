// The maker's web site: HELP opens a documentation page, VER shows the
// version, UPDATE and DONATE open the product and donation pages,
// ORVANESITE any page of the site, and ORID stores the account through which
// every page opened here logs in first.
#pragma once

#include <string>

#include "commands/version.h"

namespace vantrel {

class Interpreter;
struct Command;

// The maker's site domain, the one place it is written.
inline constexpr char kMakerDomain[] = "orvane.com";
inline constexpr char kVersionText[] = "v" VANTREL_VERSION_TEXT;

// "http://" + subdomain + "." + the maker's domain + "/".
std::string SiteAddress(const std::string& subdomain);
// The address actually opened for a page: the login address carrying the
// page as its return page when both account fields are set, else the page.
std::string PageAddress(const std::string& target, const std::string& user,
                        const std::string& pass);
// HELP's page: "index", or the topic in lower case without blanks.
std::string HelpAddress(const std::string& topic);

void OridCommand(Interpreter& in, const Command& c);
void OrvaneSiteCommand(Interpreter& in, const Command& c);
void VerCommand(Interpreter& in, const Command& c);
void HelpCommand(Interpreter& in, const Command& c);
void DonateCommand(Interpreter& in, const Command& c);
void UpdateCommand(Interpreter& in, const Command& c);

}  // namespace vantrel
