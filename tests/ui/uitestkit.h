#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QColor>
#include <QSize>

#include "data/dmmain.h"
#include "support/tempfolder.h"

class QWidget;

// A picture of one colour written as folder's "system/<name>", as the program finds it.
void WritePicture(const TempFolder& folder, const std::string& name, QSize size, const QColor& colour);

// Runs step with the modal window once one is up (from inside its exec), for the tests
// that must answer a modal dialog.
void WhenModal(std::function<void(QWidget* modal)> step);

// A program folder with the shipped tables and the data module over them.
class DataFolder {
public:
    DataFolder();
    ~DataFolder();

    const TempFolder& Home() const { return home; }
    TDMMain& Data() { return *data; }

private:
    TempFolder home;
    std::unique_ptr<TDMMain> data;
};
