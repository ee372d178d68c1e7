#include "HarbinaxCore/ImagePlacement.h"

int PlaceImage(int contentStart, int contentLength, int imageLength, EImageAlign align)
{
    if (imageLength >= contentLength)
        return contentStart;
    switch (align) {
    case EImageAlign::Start:
        return contentStart;
    case EImageAlign::End:
        return contentStart + contentLength - imageLength;
    case EImageAlign::Centre:
        break;
    }
    return contentStart + (contentLength - imageLength) / 2;
}
