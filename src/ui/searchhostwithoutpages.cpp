#include "ui/searchhostwithoutpages.h"

#include "ui/fmwww.h"

TSearchHostWithoutPages::TSearchHostWithoutPages(TDMMain& data) : data(data) {}

TSearchHostWithoutPages::~TSearchHostWithoutPages() = default;

TfmWWW& TSearchHostWithoutPages::fmWWW()
{
    if (!dialog)
        dialog = std::make_unique<TfmWWW>(data);
    return *dialog;
}
