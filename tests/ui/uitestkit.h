#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QColor>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QUrl>

#include "data/dmmain.h"
#include "support/tempfolder.h"

class QWidget;

// A picture of one colour written as folder's "system/<name>", as the program finds it.
void WritePicture(const TempFolder& folder, const std::string& name, QSize size, const QColor& colour);

// Runs step with the modal window once one is up (from inside its exec), for the tests
// that must answer a modal dialog.
void WhenModal(std::function<void(QWidget* modal)> step);

// Takes the desktop's "open" requests of files and web addresses instead of the desktop.
class OpenRecorder : public QObject {
    Q_OBJECT

public:
    OpenRecorder();
    ~OpenRecorder() override;

    QStringList opened;

public slots:
    void Open(const QUrl& url) { opened << url.toString(QUrl::PreferLocalFile); }
};

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
