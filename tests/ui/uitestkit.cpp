#include "uitestkit.h"

#include <QApplication>
#include <QDesktopServices>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "core/paths.h"
#include "data/databasefile.h"

void WritePicture(const TempFolder& folder, const std::string& name, QSize size, const QColor& colour)
{
    std::string path = folder / ("system/" + name);
    ForceFolderOf(path);
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(path));
}

void WhenModal(std::function<void(QWidget* modal)> step)
{
    QTimer::singleShot(0, [step = std::move(step)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            step(modal);
            return;
        }
        WhenModal(std::move(step));
    });
}

OpenRecorder::OpenRecorder()
{
    QDesktopServices::setUrlHandler("file", this, "Open");
    QDesktopServices::setUrlHandler("http", this, "Open");
}

OpenRecorder::~OpenRecorder()
{
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("http");
}

DataFolder::DataFolder()
{
    const std::string seeds = std::string(ZANVIK_SOURCE_DIR) + "/resources/";
    SeedDatabaseFile(seeds + "kind.sql", home / "data/kind.db");
    SeedDatabaseFile(seeds + "favor.sql", home / "data/favor.db");
    data = std::make_unique<TDMMain>();
    data->telStation().Open();
}

DataFolder::~DataFolder()
{
    data.reset();
}
