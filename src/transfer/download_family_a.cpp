// The family A branches of the Download command: the session is the target the family A
// downloads write their temporary file into.

#include "transfer/download.h"
#include "transfer/family_a_download.h"

namespace pelvoro {

namespace {

class SessionTarget : public FamilyADownloadTarget {
  public:
    explicit SessionTarget(DownloadSession& s) : s_(s) {}
    bool createDocument() override { return s_.newDownloadDocument(); }
    void write(std::string_view text) override { s_.writeBytes(text); }
    void load() override { s_.loadDownloadedFile(); }

  private:
    DownloadSession& s_;
};

DownloadOutcome statusOf(const FamilyAOutcome& a) {
    switch (a.end) {
        case FamilyAEnd::Complete:
            return DownloadOutcome::complete();
        case FamilyAEnd::Incomplete:
            return DownloadOutcome::incomplete(a.messageKey);
        case FamilyAEnd::Flawed:
            return DownloadOutcome::flawed(a.messageKey);
        case FamilyAEnd::NoData:
            return DownloadOutcome::noData(a.messageKey);
        case FamilyAEnd::Cancelled:
            return DownloadOutcome::cancelled();
        case FamilyAEnd::Failed:
            return DownloadOutcome::failed(a.messageKey);
    }
    return {};
}

DownloadOutcome outcomeOf(const FamilyAOutcome& a) {
    DownloadOutcome out = statusOf(a);
    out.recordsReceived = a.received;
    out.recordsExpected = a.expected;
    return out;
}

}  // namespace

DownloadOutcome downloadStructureAndResults(DownloadSession& s) {
    SessionTarget target(s);
    return outcomeOf(downloadStructureAndResults(s.context(), s.key(), target));
}

DownloadOutcome downloadResultsOnly(DownloadSession& s) {
    SessionTarget target(s);
    return outcomeOf(downloadResultsOnly(s.context(), s.key(), target));
}

}  // namespace pelvoro
