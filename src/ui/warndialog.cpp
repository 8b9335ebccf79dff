#include "ui/warndialog.h"

#include <QStyle>

TwarnDialog::TwarnDialog(QWidget* parent) : TFixedDialog("", QSize(264, 128), Placement::OnTop, parent)
{
    auto* icon = new QLabel(this);
    icon->setGeometry(14, 18, 32, 32);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    Label1 = new QLabel(this);
    Label1->setGeometry(56, 12, 194, 56);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label1->setWordWrap(true);
    btnOk = new QPushButton("確定", this);
    btnOk->setGeometry(82, 82, 100, 32);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, [this] { accept(); });
}

void TwarnDialog::Show(const std::string& text, const std::string& title, bool modal)
{
    setWindowTitle(QString::fromStdString(title));
    Label1->setText(QString::fromStdString(text));
    if (modal) {
        exec();
        return;
    }
    setModal(false);
    show();
    raise();
}
