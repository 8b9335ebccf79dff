#include "ui/systempicture.h"

#include <cstdio>

#include "core/paths.h"

namespace {

std::string PathOf(const std::string& name)
{
    return JoinPath(ProgramFolder() + "system", name);
}

void ReportMissing(const std::string& path)
{
    std::fprintf(stderr, "vorlan: 無法讀取圖檔 %s\n", path.c_str());
}

}  // namespace

QImage SystemImage(const std::string& name)
{
    std::string path = PathOf(name);
    QImage image(QString::fromStdString(path));
    if (image.isNull())
        ReportMissing(path);
    return image;
}

QPixmap SystemPicture(const std::string& name)
{
    return QPixmap::fromImage(SystemImage(name));
}
