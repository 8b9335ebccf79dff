#include "ui/statusmeter.h"

#include "ui/dbmeter.h"

Tdbmeter* NewStatusMeter(QWidget* parent)
{
    auto* meter = new Tdbmeter(parent);
    meter->resize(64, 17);
    meter->SetGreens(32);
    meter->SetYellows(16);
    meter->SetReds(16);
    meter->SetGreenMax(32);
    meter->SetYellowMax(16);
    meter->SetRedMax(16);
    meter->SetGreenColor(QColor(0, 255, 0));
    meter->SetYellowColor(QColor(255, 255, 0));
    meter->SetRedColor(QColor(255, 0, 0));
    QColor face = meter->palette().color(QPalette::Button);
    meter->SetGreenBack(face);
    meter->SetYellowBack(face);
    meter->SetRedBack(face);
    meter->SetSepWidth(0);
    return meter;
}
