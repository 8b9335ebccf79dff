#include "ui/fmstop.h"

#include <QStyle>

#include "core/userinterface.h"
#include "grab/grabscheduler.h"
#include "grab/grabstate.h"

namespace {

const char* const kStopped = "下載停止";
const char* const kStopAllQuestion =
    "停止本次所有預約排程後\r\n如果要再下載網頁\r\n必須重新進入系統\r\n\r\n你仍然確定要停止嗎?";

QPushButton* Button(const QString& caption, int top, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(94, top, 181, 36);
    return button;
}

}  // namespace

TfmStop::TfmStop(TGrabScheduler& scheduler, QWidget* parent)
    : TFixedDialog("停止下載", QSize(369, 193), Placement::Normal, parent), scheduler(scheduler)
{
    btnStopSite = Button("停止本站下載", 24, this);
    btnStopAll = Button("停止所有的排程", 76, this);
    btnCancel = Button("取消", 128, this);
    btnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(btnStopSite, &QPushButton::clicked, this, [this] { btnStopSiteClick(); });
    connect(btnStopAll, &QPushButton::clicked, this, [this] { btnStopAllClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
}

void TfmStop::btnStopSiteClick()
{
    GrabState().StopFlag = true;
    Ui().Status(kStopped);
    Ui().Title(kStopped);
    accept();
}

void TfmStop::btnStopAllClick()
{
    if (!Ui().Confirm(kStopAllQuestion))
        return;
    GrabState().StopFlag = true;
    scheduler.RequestEnd();
    Ui().Animate(false);
    GrabState().SetCurrentSiteURL("");
    accept();
}
