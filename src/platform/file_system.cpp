#include "platform/file_system.h"

namespace vantrel {

namespace {

// Matches read whole, handed out under the keep-going test.
class WholeListing : public FolderListing {
  public:
    WholeListing(const FileSystem& files, std::vector<FileEntry> all)
        : files_(files), all_(std::move(all)) {}

    bool Next(std::vector<FileEntry>* entries) override {
        constexpr size_t kEntriesBetweenChecks = 256;
        while (at_ < all_.size()) {
            entries->push_back(std::move(all_[at_++]));
            if (at_ % kEntriesBetweenChecks == 0 && !files_.KeepGoing()) break;
        }
        return at_ < all_.size();
    }

  private:
    const FileSystem& files_;
    std::vector<FileEntry> all_;
    size_t at_ = 0;
};

}  // namespace

std::unique_ptr<FolderListing> FileSystem::List(const std::string& pattern, FileMask mask) {
    // The whole lookup, whatever test is in place: the parts are bounded
    // instead.
    std::function<bool()> test = ExchangeKeepGoing(nullptr);
    std::vector<FileEntry> all = Find(pattern, mask);
    ExchangeKeepGoing(std::move(test));
    return std::make_unique<WholeListing>(*this, std::move(all));
}

}  // namespace vantrel
