#include "ui/readingpage.h"

#include <QMenu>

#include "data/dmmain.h"

namespace {

TListPageSetup ReadingListSetup()
{
    TListPageSetup setup;
    setup.pageName = "panSee";
    setup.gridName = "dbGrid1";
    setup.scrollBarName = "ScrollBar1";
    setup.tabSetName = "TabSet1";
    setup.columns = {{"show_date", "下載日", 60, Qt::AlignCenter}, {"Alias", "", 249}, {"URL", "網頁位址", 415}};
    return setup;
}

}  // namespace

TReadingPage::TReadingPage(TDMMain& data, std::function<bool()> isCurrentList, QWidget* parent)
    : TListPage(data.seeTab(), ReadingListSetup(), parent), commands(data), isCurrentList(std::move(isCurrentList))
{
    popSee = new QMenu(this);
    popSee->setObjectName("popSee");
    popDelete = popSee->addAction("刪除", [this] { DeleteGrabbedSite(); });
    connect(popSee, &QMenu::aboutToShow, this,
            [this] { popDelete->setEnabled(this->isCurrentList() && commands.HasSites()); });
    UsePopup(popSee);
}

void TReadingPage::DeleteGrabbedSite()
{
    commands.DeleteGrabbedSite();
}
