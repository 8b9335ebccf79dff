#include "ui/addressfits.h"

#include <string>

#include "core/userinterface.h"
#include "data/field.h"
#include "ui/dbedit.h"

bool AddressFits(const TDBEdit& box)
{
    if (box.TextFits())
        return true;
    TField* field = box.Link().Field();
    Ui().Warning("網頁位址不可超過" + std::to_string(field ? field->Size() : 0) + "個字元,請縮短網頁位址");
    return false;
}
