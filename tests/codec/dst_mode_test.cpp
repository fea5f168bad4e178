// The mode a written file gets: an existing target keeps its bits, a new file in a private
// folder is private, elsewhere the umask decides. No temporary file is left behind.
#include <png.h>
#include <sys/stat.h>

#include "codec/hlvjpg.h"
#include "codec_test.h"

namespace {

struct ModeRow {
    const char* name;
    mode_t dirMode;
    int oldMode;  // mode of an existing target, -1 for none
    mode_t umask;
    bool saveJpeg;  // SaveJpegFile instead of GetJpegFile
    mode_t want;
};

const ModeRow kModeRows[] = {
    {"new file, private folder", 0700, -1, 022, false, 0600},
    {"new file, private folder, lax umask", 0700, -1, 0, false, 0600},
    {"new file, open folder", 0755, -1, 022, false, 0644},
    {"new file, open folder, strict umask", 0755, -1, 077, false, 0600},
    {"new file, group folder", 0770, -1, 002, false, 0664},
    {"new JPEG, open folder", 0755, -1, 027, true, 0640},
    {"existing target keeps its mode", 0755, 0604, 077, false, 0604},
    {"existing target in a private folder", 0700, 0644, 022, false, 0644},
    {"existing JPEG keeps its mode", 0755, 0620, 022, true, 0620},
};

class DstModeTest : public CodecTest {};

TEST_F(DstModeTest, ModeFollowsTargetFolderAndUmask) {
    PngForm png = {.colourType = PNG_COLOR_TYPE_RGB, .depth = 8, .width = 3, .height = 2};
    png.samples.assign(3 * 2 * 3, 77);
    WriteBytes(In("src.png"), MakePng(png));
    WriteBytes(In("src.bmp"), MakeBmp(MakePic(3, 2), BmpForm()));
    std::string sub = In("sub"), dst = sub + "/out";
    for (const ModeRow& row : kModeRows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
        ASSERT_EQ(chmod(sub.c_str(), row.dirMode), 0);
        if (row.oldMode >= 0) {
            WriteBytes(dst, {'o', 'l', 'd'});
            ASSERT_EQ(chmod(dst.c_str(), (mode_t)row.oldMode), 0);
        }
        mode_t savedMask = umask(row.umask);
        int ok = row.saveJpeg ? SaveJpegFile(In("src.bmp").c_str(), dst.c_str(), 90)
                              : GetJpegFile(In("src.png").c_str(), dst.c_str());
        umask(savedMask);
        ASSERT_NE(ok, 0);

        struct stat st;
        ASSERT_EQ(stat(dst.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, row.want) << std::oct << (st.st_mode & 0777);
        EXPECT_EQ(ListDir(sub), std::vector<std::string>{"out"});
        EXPECT_GT(ReadBytes(dst).size(), 3u);
        remove(dst.c_str());
        rmdir(sub.c_str());
    }
}

}  // namespace
