#pragma once
// Where the main window stands in its normal state: outer top-left corner and client size.
#include "window_inspection.h"

#include <gtest/gtest.h>

inline void ExpectNormalPlace(HWND mainWindow) {
    const RECT place = PlaceOf(mainWindow);
    EXPECT_EQ(place.left, 504);
    EXPECT_EQ(place.top, 127);
    const SIZE client = ClientSizeOf(mainWindow);
    EXPECT_EQ(client.cx, 582);
    EXPECT_EQ(client.cy, 356);
}
