// The path rules of browsing: the drive of a path and the folders down to it, drive list
// entries, the order of names, file masks and the names a new folder may have.
#include "browse/BrowsePaths.h"
#include "browse/BrowseGeometry.h"
#include "platform/Drives.h"

#include <gtest/gtest.h>

using namespace BrowsePaths;

namespace {

struct SplitRow {
    const char* path;
    QStringList roots;
    const char* root;
    QStringList folders;
};

class SplitOnDrive : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitOnDrive, FindsTheDriveAndTheFoldersBelowIt) {
    const SplitRow& row = GetParam();
    const DrivePath where = splitOnDrive(QString::fromUtf8(row.path), row.roots);
    EXPECT_EQ(where.root, QString::fromUtf8(row.root));
    EXPECT_EQ(where.folders, row.folders);
}

const QStringList rootAndHome{"/", "/home/", "/media/ann/STICK/"};

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitOnDrive,
    ::testing::Values(
        // The longest drive root the path lies on wins.
        SplitRow{"/home/ann/Covers", rootAndHome, "/home/", {"ann", "Covers"}},
        SplitRow{"/home/ann/Covers/", rootAndHome, "/home/", {"ann", "Covers"}},
        SplitRow{"/home", rootAndHome, "/home/", {}},
        SplitRow{"/media/ann/STICK/Foto's", rootAndHome, "/media/ann/STICK/", {"Foto's"}},
        // A folder whose name only begins like a drive root is not on that drive.
        SplitRow{"/homeless/x", rootAndHome, "/", {"homeless", "x"}},
        SplitRow{"/", rootAndHome, "/", {}},
        // A drive that is gone: the path is walked from the root file system.
        SplitRow{"/media/bob/CARD/a", rootAndHome, "/", {"media", "bob", "CARD", "a"}},
        // Doubled delimiters and "." name nothing; ".." is walked as written (and stops
        // the walk, as no folder lists it).
        SplitRow{"/a//b/./c/", rootAndHome, "/", {"a", "b", "c"}},
        SplitRow{"/a/../b", rootAndHome, "/", {"a", "..", "b"}},
        // Names are kept exactly: blanks, letters beyond ASCII, a line break.
        SplitRow{"/ Müsik /Nieuwe map/a\nb", rootAndHome, "/", {" Müsik ", "Nieuwe map", "a\nb"}},
        // No drive: the first drive, nothing below it.
        SplitRow{"", rootAndHome, "/", {}}, SplitRow{"Covers/2002", rootAndHome, "/", {}},
        SplitRow{"/x", {}, "", {}}));

TEST(BrowsePaths, FolderPathEndsInTheDelimiter) {
    EXPECT_EQ(folderPath("/", {}), "/");
    EXPECT_EQ(folderPath("/home/", {"ann", "Nieuwe map"}), "/home/ann/Nieuwe map/");
    EXPECT_EQ(folderPath("/", {"a\nb"}), "/a\nb/");
}

TEST(BrowsePaths, DriveEntriesCarryTheLabelInLowerCaseOnce) {
    EXPECT_EQ(driveEntry("/media/ann/STICK", "USB-STICK"), "/media/ann/STICK [usb-stick]");
    EXPECT_EQ(driveEntry("/", ""), "/ []");
    EXPECT_EQ(driveEntry("/media/ann/ÉTÉ", "ÉTÉ 2002"), "/media/ann/ÉTÉ [été 2002]");
}

TEST(BrowsePaths, NamesSortAlphabeticallyWithCaseBreakingTies) {
    QStringList names{"zebra", "Éclair", "banana", "Apple", "apple", "eclair", "Banana"};
    NameOrder().sort(names);
    EXPECT_EQ(names,
              (QStringList{"apple", "Apple", "banana", "Banana", "eclair", "Éclair", "zebra"}));
    // Names the collation cannot tell apart still come in one fixed order.
    const NameOrder order;
    EXPECT_NE(order("a\u200Bb", "ab"), order("ab", "a\u200Bb"));
}

TEST(BrowsePaths, ABigFolderSortsInTheSameOrderAsASmallOne) {
    // Big lists are sorted in two halves at once and merged.
    QStringList names;
    for (int i = 0; i < 10000; ++i)
        names << QStringLiteral("%1 Map %2").arg(QChar(u"aBcÉdz"[i % 6])).arg((i * 7919) % 10000);
    QStringList expected = names;
    const NameOrder order;
    std::stable_sort(expected.begin(), expected.end(), order);
    order.sort(names);
    EXPECT_EQ(names, expected);
}

struct MaskRow {
    const char* mask;
    const char* name;
    bool matches;
};

class FileMaskRows : public ::testing::TestWithParam<MaskRow> {};

TEST_P(FileMaskRows, Matches) {
    const MaskRow& row = GetParam();
    EXPECT_EQ(FileMask(QString::fromUtf8(row.mask)).matches(QString::fromUtf8(row.name)),
              row.matches)
        << row.mask << " / " << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FileMaskRows,
    ::testing::Values(MaskRow{"*.jpg; *.bmp; *.gif", "Front.jpg", true},
                      MaskRow{"*.jpg; *.bmp; *.gif", "FRONT.JPG", true},
                      MaskRow{"*.jpg; *.bmp; *.gif", "Back.bmp", true},
                      MaskRow{"*.jpg; *.bmp; *.gif", "Back.rtf", false},
                      MaskRow{"*.jpg; *.bmp; *.gif", "jpg", false},
                      MaskRow{"*.jpg; *.bmp; *.gif", "a.jpg.txt", false},
                      // Every file, names without a dot and hidden files included.
                      MaskRow{"*.*", "README", true}, MaskRow{"*.*", ".hidden", true},
                      MaskRow{"", "anything", true}, MaskRow{" ; ", "anything", true},
                      MaskRow{"photo?.jpg", "photo1.jpg", true},
                      MaskRow{"photo?.jpg", "photo12.jpg", false},
                      MaskRow{"*.jpg", "line\nbreak.jpg", true}));

struct NameRow {
    const char* name;
    FolderNameProblem problem;
};

class NewFolderNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(NewFolderNames, AreCheckedBeforeAnythingIsMade) {
    EXPECT_EQ(folderNameProblem(QString::fromUtf8(GetParam().name)), GetParam().problem)
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, NewFolderNames,
                         ::testing::Values(NameRow{"", FolderNameProblem::Empty},
                                           NameRow{"   ", FolderNameProblem::Empty},
                                           NameRow{"a/b", FolderNameProblem::Delimiter},
                                           NameRow{"/", FolderNameProblem::Delimiter},
                                           NameRow{"../up", FolderNameProblem::Delimiter},
                                           NameRow{".", FolderNameProblem::DotName},
                                           NameRow{"..", FolderNameProblem::DotName},
                                           NameRow{"...", FolderNameProblem::None},
                                           NameRow{".hidden", FolderNameProblem::None},
                                           NameRow{" Nieuwe map ", FolderNameProblem::None},
                                           NameRow{"Ünïcödé", FolderNameProblem::None},
                                           NameRow{"a\\b:c", FolderNameProblem::None}));

TEST(BrowsePaths, NewFolderNamesTheSystemCannotHold) {
    EXPECT_EQ(folderNameProblem(QStringLiteral("a") + QChar(0) + QStringLiteral("b")),
              FolderNameProblem::BadCharacter);
    EXPECT_EQ(folderNameProblem(QString(255, u'x')), FolderNameProblem::None);
    EXPECT_EQ(folderNameProblem(QString(256, u'x')), FolderNameProblem::TooLong);
    // The limit counts bytes: 128 two-byte letters are 256 bytes.
    EXPECT_EQ(folderNameProblem(QString(128, u'é')), FolderNameProblem::TooLong);
}

// --- Drives and geometry ------------------------------------------------------------------

TEST(BrowseDrives, OnlyVolumesAUserWouldRecogniseAreDrives) {
    EXPECT_TRUE(Drives::isUserVolume("/", "overlay", true));
    EXPECT_TRUE(Drives::isUserVolume("/home", "ext4", false));
    EXPECT_TRUE(Drives::isUserVolume("/home/ann", "ext4", false));
    EXPECT_TRUE(Drives::isUserVolume("/media/ann/STICK", "vfat", false));
    EXPECT_TRUE(Drives::isUserVolume("/run/media/ann/CARD", "exfat", false));
    EXPECT_TRUE(Drives::isUserVolume("/mnt/share", "cifs", false));
    EXPECT_FALSE(Drives::isUserVolume("/media", "ext4", false));
    EXPECT_FALSE(Drives::isUserVolume("/boot/efi", "vfat", false));
    EXPECT_FALSE(Drives::isUserVolume("/etc/hosts", "ext4", false));
    EXPECT_FALSE(Drives::isUserVolume("/proc", "proc", false));
    EXPECT_FALSE(Drives::isUserVolume("/sys/fs/cgroup", "cgroup2", false));
    EXPECT_FALSE(Drives::isUserVolume("/run/user/1000", "tmpfs", false));
    EXPECT_FALSE(Drives::isUserVolume("/mnt/tmp", "tmpfs", false));
    EXPECT_FALSE(Drives::isUserVolume("/var/lib/docker/overlay2/x/merged", "overlay", false));

    EXPECT_EQ(Drives::shownName({u'C', "/", Drives::Fixed, ""}), "/");
    EXPECT_EQ(Drives::shownName({u'D', "/media/ann/STICK/", Drives::Removable, "STICK"}),
              "/media/ann/STICK");
    // The system's own list holds the root file system first, as C.
    const QList<Drives::Drive> drives = Drives::list();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().root, "/");
    EXPECT_EQ(drives.first().letter, u'C');
}

TEST(BrowseGeometry, TreeSideKeepsRoomForBothSides) {
    using BrowseGeometry::treeWidth;
    EXPECT_EQ(treeWidth(150, 534), 200); // a stored 150 is raised to 200
    EXPECT_EQ(treeWidth(230, 534), 230);
    EXPECT_EQ(treeWidth(900, 534), 434); // the file list keeps 100
    EXPECT_EQ(treeWidth(250, 250), 200); // too narrow for both: the tree keeps its 200
}

TEST(BrowseGeometry, StoredPlacesAreBroughtOnScreen) {
    using BrowseGeometry::placeOnScreen;
    const QList<QRect> one{QRect(0, 0, 1280, 1024)};
    const QSize minimum(250, 300);
    // Kept as stored.
    EXPECT_EQ(placeOnScreen(QRect(600, 200, 350, 550), minimum, one), QRect(600, 200, 350, 550));
    // Negative top and left become 0.
    EXPECT_EQ(placeOnScreen(QRect(-20, -5, 350, 550), minimum, one), QRect(0, 0, 350, 550));
    // Beyond the screen: moved onto it, whole.
    EXPECT_EQ(placeOnScreen(QRect(5000, 4000, 350, 550), minimum, one), QRect(930, 474, 350, 550));
    // Bigger than the screen: as big as the screen, and on it; too small to use: the minimum.
    EXPECT_EQ(placeOnScreen(QRect(10, 10, 3000, 2000), minimum, one), QRect(0, 0, 1280, 1024));
    EXPECT_EQ(placeOnScreen(QRect(10, 10, 5, -40), minimum, one), QRect(10, 10, 250, 300));
    // A second screen to the right counts as screen.
    const QList<QRect> two{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    EXPECT_EQ(placeOnScreen(QRect(2000, 100, 350, 550), minimum, two), QRect(2000, 100, 350, 550));
    // Near the far edge of the integers nothing wraps round.
    EXPECT_EQ(placeOnScreen(QRect(2147483000, 2147483000, 350, 550), minimum, one),
              QRect(930, 474, 350, 550));
    // No screen known (yet): only the first rules.
    EXPECT_EQ(placeOnScreen(QRect(-1, 9000, 350, 550), minimum, {}), QRect(0, 9000, 350, 550));
}

TEST(BrowseGeometry, TreePanelAndButtons) {
    // The panel of the small dialog of 350 pixels with the designed controls.
    const auto p = BrowseGeometry::layoutTreePanel(QSize(334, 400), QSize(22, 21), 6, 23);
    EXPECT_EQ(p.newFolderButton, QRect(302, 6, 22, 21));
    EXPECT_EQ(p.driveList, QRect(5, 6, 292, 23));
    EXPECT_EQ(p.tree, QRect(0, 34, 332, 365));
    // Too narrow for the drive list: it vanishes rather than turn negative.
    EXPECT_EQ(
        BrowseGeometry::layoutTreePanel(QSize(30, 40), QSize(22, 21), 6, 23).driveList.width(), 0);

    const auto small = BrowseGeometry::layoutButtons(false, 334, 0, 110, 110);
    EXPECT_EQ(small.okLeft, 38);
    EXPECT_EQ(small.cancelLeft, 186);
    // Large: the count's label first; (534 - 85 - 220) / 3 = 76.
    const auto large = BrowseGeometry::layoutButtons(true, 534, 85, 110, 110);
    EXPECT_EQ(large.okLeft, 161);
    EXPECT_EQ(large.cancelLeft, 347);
    // Narrower than the buttons: the gaps truncate toward zero.
    const auto cramped = BrowseGeometry::layoutButtons(false, 200, 0, 110, 110);
    EXPECT_EQ(cramped.okLeft, -6);
    EXPECT_EQ(BrowseGeometry::centredLeft(534, 513), 10);
}

} // namespace
