#include "ui/grabokdialog.h"

TgrabOkDialog::TgrabOkDialog(QWidget* parent)
    : TFixedDialog("本站台已下載完畢", QSize(274, 142), Placement::OnTop, parent)
{
    siteName = new QLabel(this);
    siteName->setGeometry(14, 16, 246, 60);
    siteName->setAlignment(Qt::AlignCenter);
    btnOk = new QPushButton("知道了", this);
    btnOk->setGeometry(87, 94, 100, 32);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, [this] { accept(); });
}

void TgrabOkDialog::ShowSite(const std::string& url)
{
    QString whole = QString::fromStdString(url);
    siteName->setText(siteName->fontMetrics().elidedText(whole, Qt::ElideMiddle, siteName->width() - 4));
    siteName->setToolTip(whole);
    setModal(false);
    show();
    raise();
}
