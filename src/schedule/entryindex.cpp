#include "schedule/entryindex.h"

#include "data/table.h"

namespace {

const double kSecond = 1.0 / 86400;

}  // namespace

TDateTime FreeEntryIndex(const TTable& station, const std::string& ownIndex)
{
    CivilTime now = DecodeDateTime(Now());
    now.millisecond = 0;
    TDateTime start = EncodeDateTime(now);
    // Ends within one step per row of the file.
    for (long long step = 0;; ++step) {
        TDateTime moment = start + static_cast<double>(step) * kSecond;
        std::string text = DateTimeToText(moment);
        if (text == ownIndex || !station.HasValue("Index", text))
            return moment;
    }
}
