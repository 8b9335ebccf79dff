#include "ui/scheduledsite.h"

#include "data/dmmain.h"
#include "data/field.h"
#include "data/query.h"
#include "grab/turl.h"

namespace {

// An address that cannot be put in canonical form is compared as it is written.
std::string Canonical(const std::string& url)
{
    Turl canonical(url);
    return canonical.URLText().empty() ? url : canonical.URLText();
}

}  // namespace

bool IsScheduledSite(TDMMain& data, const std::string& url)
{
    std::string wanted = Canonical(url);
    TQuery entries(data.Session(), "scheduledSites");
    entries.SetDatabaseName(data.DataFolder());
    entries.SetSQL({"Select URL from \"station.db\""});
    entries.Open();
    TField& address = entries.FieldByName("URL");
    for (int row = 0; row < entries.RecordCount(); ++row) {
        TValue value = entries.RowValue(row, address.Index());
        if (!IsNullValue(value) && Canonical(address.TextOf(value)) == wanted)
            return true;
    }
    return false;
}
