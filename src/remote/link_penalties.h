// Penalties that decay, kept per source of clients (PenaltySource: an IPv4
// address, or an IPv6 address's /64). A wrong password adds kWrongPassword
// seconds, a link that ends before its login kEndedBeforeLogin; a source
// with kRefuseAt or more is refused at the knock. The penalty counts down
// one second a second and never passes kCap, so a client that guesses in
// short links gets a few guesses a minute, and one that stops is served
// again within ten minutes of its worst. The ban after LoginAttempts wrong
// passwords on one link stands beside this; nothing here is written to disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel {

class LinkPenalties {
  public:
    static constexpr std::uint64_t kWrongPassword = 5000;  // milliseconds
    static constexpr std::uint64_t kEndedBeforeLogin = 1000;
    static constexpr std::uint64_t kRefuseAt = 15000;
    static constexpr std::uint64_t kCap = 600000;
    // A flood of addresses holds no more than this many; a new one takes
    // the place of the least penalised.
    static constexpr std::size_t kMaxSources = 10000;

    // Adds to the penalty of source at now (the clock's milliseconds).
    void Add(const std::string& source, std::uint64_t ms, std::uint64_t now);
    // The penalty left at now, in milliseconds.
    std::uint64_t Left(const std::string& source, std::uint64_t now) const;
    bool Refused(const std::string& source, std::uint64_t now) const {
        return Left(source, now) >= kRefuseAt;
    }
    // Forgets the source's penalty; whether it had one left.
    bool Clear(const std::string& source, std::uint64_t now);

    struct Listed {
        std::string source;
        std::uint64_t left;  // milliseconds
    };
    // The sources with a penalty left, the most penalised first.
    std::vector<Listed> List(std::uint64_t now) const;

  private:
    struct Penalty {
        std::uint64_t ms = 0;  // as it stood at `at`
        std::uint64_t at = 0;
        std::uint64_t LeftAt(std::uint64_t now) const {
            const std::uint64_t gone = now > at ? now - at : 0;
            return ms > gone ? ms - gone : 0;
        }
    };
    void MakeRoom(std::uint64_t now);
    std::unordered_map<std::string, Penalty> penalties_;
};

// LinkPenaltyExempt: addresses, separated by blanks or commas, whose
// sources are never penalised. A word that is no address is left out.
bool PenaltyExempt(std::string_view exemptSetting, const std::string& source);

}  // namespace vantrel
