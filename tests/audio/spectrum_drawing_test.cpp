// The spectrum frame on drawing boards, fed with magnitudes the fake library hands out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPainter>

#include "audio/audio_player.h"
#include "audio/drawing_board.h"
#include "tests/fakes/audio_library/fake_audio.h"
#include "tests/support/test_support.h"

namespace lumoset {
namespace {

using ::testing::ElementsAre;

const QColor yellow(255, 255, 0);
const QColor black(0, 0, 0);

std::vector<float> allBins(float magnitude) {
    return std::vector<float>(128, magnitude);
}

std::vector<float> firstBin(float magnitude) {
    std::vector<float> bins(128, 0.0f);
    bins[0] = magnitude;
    return bins;
}

class SpectrumTest : public ::testing::Test {
  protected:
    void SetUp() override { test::clearFakeAudio(); }

    // One frame of `player` on `board` with these magnitudes.
    void frame(DrawingBoard& board, const std::vector<float>& magnitudes,
               std::optional<int> step = std::nullopt, AudioPlayer* with = nullptr) {
        test::answerFakeAudioData(magnitudes);
        (with != nullptr ? *with : player)
            .drawSpectrum(board, 7, std::nullopt, std::nullopt, std::nullopt, step);
    }

    static DrawingBoard& sized(DrawingBoard& board, int width, int height) {
        board.resize(width, height);
        return board;
    }

    // Columns whose bottom pixel carries a bar.
    static std::vector<int> barColumns(DrawingBoard& board) {
        const QImage picture = board.picture();
        std::vector<int> columns;
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, picture.height() - 1) == yellow) {
                columns.push_back(x);
            }
        }
        return columns;
    }

    // The yellow rows of column `x`, from the top.
    static std::vector<int> litRows(DrawingBoard& board, int x) {
        const QImage picture = board.picture();
        std::vector<int> rows;
        for (int y = 0; y < picture.height(); ++y) {
            if (picture.pixelColor(x, y) == yellow) {
                rows.push_back(y);
            }
        }
        return rows;
    }

    static std::vector<int> span(int from, int to) {
        std::vector<int> rows;
        for (int y = from; y <= to; ++y) {
            rows.push_back(y);
        }
        return rows;
    }

    AudioPlayer player;
};

// Positions run x = 1, 4, 7, ... up to the width; on a board 100 wide the 34th lands on x = 100,
// just past the last column, so 33 show.
TEST_F(SpectrumTest, OneBarPerStepUpToTheWidthAndTheLastBin) {
    struct Case {
        int width;
        std::size_t bars;
        int last;
    };
    for (const Case c : {Case{100, 33, 97}, Case{101, 34, 100}, Case{500, 128, 382}}) {
        AudioPlayer fresh;
        DrawingBoard board;
        frame(sized(board, c.width, 64), allBins(0.01f), std::nullopt, &fresh);
        const auto columns = barColumns(board);
        ASSERT_EQ(columns.size(), c.bars) << c.width;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i], 1 + 3 * static_cast<int>(i));
        }
        EXPECT_EQ(columns.back(), c.last);
    }
}

TEST_F(SpectrumTest, ATallBarStopsTwoShortOfTheTopWithItsPeakOnTheTopRow) {
    DrawingBoard board;
    frame(sized(board, 20, 64), firstBin(1.0f));
    std::vector<int> expected{0};
    const auto bar = span(2, 63);
    expected.insert(expected.end(), bar.begin(), bar.end());
    EXPECT_EQ(litRows(board, 1), expected);
    EXPECT_TRUE(litRows(board, 2).empty());
}

TEST_F(SpectrumTest, BarsFallThreePixelsAndPeaksOneAFrame) {
    DrawingBoard board;
    sized(board, 20, 64);
    frame(board, firstBin(0.0625f));  // 0.0625 * 64 * 10 = 40 pixels
    EXPECT_EQ(litRows(board, 1), [&] {
        auto rows = span(24, 63);
        rows.insert(rows.begin(), 22);  // the peak, two above the bar
        return rows;
    }());
    for (int n = 1; n <= 45; ++n) {
        frame(board, allBins(0.0f));
        const int bar = std::max(40 - 3 * n, 1);
        const int peak = 42 - n;
        auto expected = span(64 - bar, 63);
        if (peak > 2) {
            expected.insert(expected.begin(), 64 - peak);
        }
        ASSERT_EQ(litRows(board, 1), expected) << "frame " << n;
    }
}

TEST_F(SpectrumTest, GradientOnlyWithoutABackgroundPicture) {
    const std::uint32_t red = 0x0000FF;
    const std::uint32_t blue = 0xFF0000;
    QPixmap picture(8, 8);
    picture.fill(Qt::green);
    for (const bool withPicture : {false, true}) {
        AudioPlayer fresh;
        DrawingBoard board;
        sized(board, 100, 64);
        if (withPicture) {
            board.setBackgroundPicture(picture);
        }
        std::vector<float> falling(128);
        for (std::size_t k = 0; k < falling.size(); ++k) {
            falling[k] = 0.08f / float(1 + k / 4);
        }
        test::answerFakeAudioData(falling);
        fresh.drawSpectrum(board, 7, red, blue);
        test::saveScreenshot(board, withPicture ? "spectrum_on_picture" : "spectrum_on_gradient");
        const QImage shown = board.picture();
        const QColor top = shown.pixelColor(99, 0);  // no bar ever stands at x = 99
        const QColor bottom = shown.pixelColor(99, 63);
        if (withPicture) {
            EXPECT_EQ(top, black);
            EXPECT_EQ(bottom, black);
            EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::green));
        } else {
            EXPECT_GT(top.red(), 200);
            EXPECT_LT(top.blue(), 50);
            EXPECT_GT(bottom.blue(), 200);
            EXPECT_LT(bottom.red(), 50);
        }
    }
}

TEST_F(SpectrumTest, AFailedDataCallLeavesTheTargetAsItWas) {
    DrawingBoard board;
    frame(sized(board, 50, 64), allBins(0.05f));
    const QImage before = board.picture();
    test::clearFakeAudio();
    test::answerFakeAudioData(allBins(0.0f), -1);
    player.drawSpectrum(board, 7);
    EXPECT_THAT(test::fakeAudioCalls(), ElementsAre("BASS_ChannelGetData(7, buffer, 0x80000000)"));
    EXPECT_EQ(board.picture(), before);
    frame(board, allBins(0.0f));
    EXPECT_NE(board.picture(), before);
}

// A step that never reaches the edge still ends after the last bin.
TEST_F(SpectrumTest, StepsOfZeroOrBackwardsEndAfterTheLastBin) {
    for (const int step : {0, -3}) {
        AudioPlayer fresh;
        DrawingBoard board;
        frame(sized(board, 1, 64), firstBin(0.0625f), step, &fresh);
        EXPECT_EQ(litRows(board, 0).size(), 0u);
        DrawingBoard wide;
        AudioPlayer other;
        frame(sized(wide, 30, 64), firstBin(0.0625f), step, &other);
        EXPECT_EQ(barColumns(wide), step == 0 ? std::vector<int>{1} : std::vector<int>{});
    }
}

TEST_F(SpectrumTest, ACopyCarriesOnFromTheSameHeights) {
    DrawingBoard board;
    frame(sized(board, 20, 64), firstBin(0.0625f));
    AudioPlayer copy(player);
    DrawingBoard other;
    frame(sized(other, 20, 64), allBins(0.0f), std::nullopt, &copy);
    frame(board, allBins(0.0f));
    frame(board, allBins(0.0f));
    EXPECT_EQ(litRows(other, 1).size(), 37u + 1);  // 40 - 3, and the peak
    EXPECT_EQ(litRows(board, 1).size(), 34u + 1);  // the original fell twice on its own
}

TEST(ColourComponent, SplitsRedGreenAndBlue) {
    struct Case {
        std::int64_t colour;
        int code;
        int part;
    };
    for (const Case c : {Case{65535, 1, 255}, Case{65535, 2, 255}, Case{65535, 3, 0},
                         Case{65535, 4, 0}, Case{0x123456, 1, 0x56}, Case{0x123456, 2, 0x34},
                         Case{0x123456, 3, 0x12}, Case{0x123456, 0, 0}}) {
        EXPECT_EQ(AudioPlayer::colourComponent(c.colour, c.code), c.part)
            << c.colour << " " << c.code;
    }
}

}  // namespace
}  // namespace lumoset
