#include "HarbinaxCore/TextTipRules.h"

STipArea ComboTextArea(int clientWidth, int clientHeight, int buttonWidth)
{
    const int width = clientWidth - buttonWidth;
    return {0, 0, width > 0 ? width : 0, clientHeight};
}

bool ComboTextNeedsTip(int textWidth, int textAreaWidth)
{
    return textWidth > textAreaWidth - 6;
}

bool ListItemNeedsTip(int textWidth, int itemWidth)
{
    return textWidth > itemWidth - 3;
}

void ClippedTextOrigin(const STipArea& rect, int textHeight, int& x, int& y)
{
    x = rect.x + 2;
    y = rect.y + (rect.height - textHeight) / 2;
}

bool ComboTipStays(const STipArea& textArea, int pointerX, int pointerY)
{
    return textArea.Contains(pointerX, pointerY);
}

bool ListTipStays(const STipArea& listClientArea, int pointerX, int pointerY, bool listShown)
{
    return listShown && listClientArea.Contains(pointerX, pointerY);
}
