#include "settings/WindowPlacement.h"
#include "core/settings/IniTestFiles.h"
#include "settings/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace srk;
using namespace Qt::StringLiterals;

namespace {
PlacementDecision moveAndSize(int x, int y, int width, int height, bool maximized) {
    PlacementDecision d;
    d.move = d.resize = true;
    d.x = x;
    d.y = y;
    d.width = width;
    d.height = height;
    d.setMaximized = true;
    d.maximized = maximized;
    return d;
}
} // namespace

TEST(Placement, SavedPlacementComesBackUnderTheFilesKeys) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    {
        IniFile positions(path);
        savePlacement(positions, u"BrowseSongs"_s, {40, 30, 640, 480}, false, false);
        ASSERT_TRUE(positions.save());
    }
    EXPECT_EQ(readRaw(path),
              QByteArray("[BrowseSongs]\nMaximize=No\nXPosit=40\nYPosit=30\nWidth=640\nHeight=480\n"));
    const IniFile positions(path);
    EXPECT_EQ(restorePlacement(positions, u"BrowseSongs"_s, true), moveAndSize(40, 30, 640, 480, false));
    EXPECT_EQ(restorePlacement(positions, u"BrowseAlbums"_s, true), PlacementDecision{});
}

TEST(Placement, MaximizedWindowSavesItsRestoredGeometry) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    savePlacement(positions, u"Main"_s, {15, 25, 800, 600}, true, false);
    EXPECT_EQ(positions.readString(u"Main"_s, u"Maximize"_s), u"Yes"_s);
    EXPECT_EQ(restorePlacement(positions, u"Main"_s, true), moveAndSize(15, 25, 800, 600, true));
    // Saved again un-maximized, the window comes back un-maximized.
    savePlacement(positions, u"Main"_s, {15, 25, 800, 600}, false, false);
    EXPECT_EQ(restorePlacement(positions, u"Main"_s, true), moveAndSize(15, 25, 800, 600, false));
}

TEST(Placement, WindowClosedMinimizedKeepsItsEarlierPlacement) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    savePlacement(positions, u"UpdateSong"_s, {100, 120, 500, 400}, true, false);
    ASSERT_TRUE(positions.save());
    savePlacement(positions, u"UpdateSong"_s, {-32000, -32000, 160, 24}, false, true);
    EXPECT_FALSE(positions.isDirty());
    EXPECT_EQ(restorePlacement(positions, u"UpdateSong"_s, true), moveAndSize(100, 120, 500, 400, true));
}

TEST(Placement, PositionZeroOnEitherAxisCountsAsNoPosition) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));

    // At the very left edge nothing at all is restored, not even the maximized state.
    savePlacement(positions, u"SelectAlbum"_s, {0, 50, 300, 200}, true, false);
    EXPECT_EQ(restorePlacement(positions, u"SelectAlbum"_s, true), PlacementDecision{});

    // At the top edge the window stays where it is but still takes its saved state.
    savePlacement(positions, u"SelectFont"_s, {50, 0, 300, 200}, true, false);
    PlacementDecision expected;
    expected.setMaximized = expected.maximized = true;
    EXPECT_EQ(restorePlacement(positions, u"SelectFont"_s, true), expected);
}

TEST(Placement, FixedSizeWindowIsOnlyMoved) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    positions.writeInt(u"CDSetup"_s, u"XPosit"_s, 70);
    positions.writeInt(u"CDSetup"_s, u"YPosit"_s, 80); // no size saved at all
    const PlacementDecision d = restorePlacement(positions, u"CDSetup"_s, false);
    EXPECT_TRUE(d.move);
    EXPECT_EQ(d.x, 70);
    EXPECT_EQ(d.y, 80);
    EXPECT_FALSE(d.resize);
    EXPECT_TRUE(d.setMaximized);
    EXPECT_FALSE(d.maximized); // "Maximize" missing is not "Yes"

    // The same entry does not move a resizable window, which needs a size as well.
    EXPECT_FALSE(restorePlacement(positions, u"CDSetup"_s, true).move);
}

TEST(Placement, ResizableWindowNeedsBothSizesAboveZero) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    savePlacement(positions, u"A"_s, {10, 10, 0, 200}, false, false);
    savePlacement(positions, u"B"_s, {10, 10, 200, -5}, false, false);
    positions.writeString(u"C"_s, u"XPosit"_s, u"10"_s);
    positions.writeString(u"C"_s, u"YPosit"_s, u"10"_s);
    positions.writeString(u"C"_s, u"Width"_s, u"wide"_s);
    positions.writeString(u"C"_s, u"Height"_s, u"100"_s);
    for (const QString& window : {u"A"_s, u"B"_s, u"C"_s}) {
        const PlacementDecision d = restorePlacement(positions, window, true);
        EXPECT_FALSE(d.move) << window.toStdString();
        EXPECT_FALSE(d.resize) << window.toStdString();
    }
}

TEST(Placement, WindowOpeningMaximizedOnlyTakesTheSavedState) {
    TempFolder temp;
    IniFile positions(temp.file(u"POSITION.INI"_s));
    savePlacement(positions, u"XploreSongs"_s, {10, 20, 300, 400}, false, false);
    PlacementDecision expected;
    expected.setMaximized = true;
    expected.maximized = false;
    EXPECT_EQ(restorePlacement(positions, u"XploreSongs"_s, true, true), expected);
}

TEST(Placement, OnlyTheExactTextYesMaximizesAndNonNumbersMeanNoPosition) {
    TempFolder temp;
    const QString path = temp.file(u"POSITION.INI"_s);
    writeRaw(path, "[Main]\nXPosit=10\nYPosit=10\nWidth=100\nHeight=100\nMaximize=yes\n"
                   "[Other]\nXPosit=left\nYPosit=10\nWidth=100\nHeight=100\nMaximize=Yes\n");
    const IniFile positions(path);
    EXPECT_EQ(restorePlacement(positions, u"Main"_s, true), moveAndSize(10, 10, 100, 100, false));
    EXPECT_EQ(restorePlacement(positions, u"Other"_s, true), PlacementDecision{});
}

TEST(Placement, SavedPlacementIsKeptOnTheScreensPresent) {
    const QVector<WindowGeometry> screens{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    // Inside a screen: untouched.
    EXPECT_EQ(keepOnAreas({100, 80, 600, 400}, screens), (WindowGeometry{100, 80, 600, 400}));
    // Saved on a third screen to the right that is gone: moved back onto the nearest screen present.
    EXPECT_EQ(keepOnAreas({3400, 200, 600, 400}, screens), (WindowGeometry{2600, 200, 600, 400}));
    // Above and left of everything.
    EXPECT_EQ(keepOnAreas({-900, -700, 600, 400}, screens), (WindowGeometry{0, 0, 600, 400}));
    // Mostly on the second screen, hanging below it: stays there, lifted up.
    EXPECT_EQ(keepOnAreas({1500, 900, 600, 400}, screens), (WindowGeometry{1500, 680, 600, 400}));
    // Larger than the screen it was on: shrunk to it.
    EXPECT_EQ(keepOnAreas({10, 10, 2000, 1500}, {{0, 0, 1280, 1024}}), (WindowGeometry{0, 0, 1280, 1024}));
    // No screens known, or only empty ones: left alone.
    EXPECT_EQ(keepOnAreas({-50, 5000, 300, 200}, {}), (WindowGeometry{-50, 5000, 300, 200}));
    EXPECT_EQ(keepOnAreas({-50, 5000, 300, 200}, {{0, 0, 0, 0}}), (WindowGeometry{-50, 5000, 300, 200}));
}

TEST(Placement, ATopLevelWindowsTitleBarStaysOnTheScreen) {
    const QVector<WindowGeometry> screens{{0, 0, 1920, 1080}};
    const FrameMargins twm{1, 23, 1, 1};
    // Own area at the top edge: the title bar above it would be off the screen, so it moves down by it.
    EXPECT_EQ(keepFrameOnAreas({300, 0, 860, 680}, twm, screens), (WindowGeometry{300, 23, 860, 680}));
    // Saved above the screen (a placement left by an earlier session): pulled back with its bar.
    EXPECT_EQ(keepFrameOnAreas({-40, -300, 860, 680}, twm, screens), (WindowGeometry{1, 23, 860, 680}));
    // Hanging off the bottom right: moved in, frame and all.
    EXPECT_EQ(keepFrameOnAreas({1500, 700, 860, 680}, twm, screens), (WindowGeometry{1059, 399, 860, 680}));
    // Taller than the screen with its frame: shrunk so that bar and border fit.
    EXPECT_EQ(keepFrameOnAreas({0, 0, 860, 1200}, twm, screens), (WindowGeometry{1, 23, 860, 1056}));
    // Well inside: untouched. Without a frame the rule is the plain one.
    EXPECT_EQ(keepFrameOnAreas({300, 200, 860, 680}, twm, screens), (WindowGeometry{300, 200, 860, 680}));
    EXPECT_EQ(keepFrameOnAreas({300, -5, 860, 680}, {}, screens), keepOnAreas({300, -5, 860, 680}, screens));
}
