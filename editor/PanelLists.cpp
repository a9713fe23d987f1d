// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/PanelLists.h"

#include <QComboBox>

#include "editor/PictureSizes.h"

namespace PanelLists {

void fillSizes(QComboBox* list, int selected)
{
    for (int p = 0; p < PictureSizes::kCount; ++p)
        list->addItem(QString::number(PictureSizes::pixelsAt(p)));
    list->setCurrentIndex(selected);
}

}  // namespace PanelLists
