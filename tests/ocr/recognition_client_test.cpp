// The recognition request as the service sees it, and what comes back of each answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <set>

#include "ocr/recognition_client.h"
#include "tests/fakes/recognition_service/fake_recognition_service.h"
#include "tests/ocr/pictures.h"
#include "tests/support/test_support.h"
#include "text/convert.h"

namespace lumoset {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;

class RecognitionClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv(recognitionEndpointVariable, service.endpoint().c_str(), 1);
        service.answerWords({"第一行", "two"});
    }
    void TearDown() override { ::unsetenv(recognitionEndpointVariable); }

    // The latest request, which the service must have accepted.
    fake::RecognitionRequest latest() {
        const auto all = service.requests();
        if (all.empty()) {
            ADD_FAILURE() << "no request arrived";
            return {};
        }
        EXPECT_THAT(all.back().problems, IsEmpty());
        return all.back();
    }

    test::TempDir dir;
    fake::FakeRecognitionService service;
};

TEST(RecognitionEndpoint, IsPlainHttpToAidemoUnlessTheEnvironmentSaysOtherwise) {
    ::unsetenv(recognitionEndpointVariable);
    EXPECT_THAT(recognitionEndpoint(), MatchesRegex("http://[a-z.]+/aidemo"));
    ::setenv(recognitionEndpointVariable, "", 1);
    EXPECT_THAT(recognitionEndpoint(), MatchesRegex("http://[a-z.]+/aidemo"));
    ::setenv(recognitionEndpointVariable, "http://ocr.example:8080/v1/aidemo", 1);
    EXPECT_EQ(recognitionEndpoint(), "http://ocr.example:8080/v1/aidemo");
    ::unsetenv(recognitionEndpointVariable);
}

TEST_F(RecognitionClientTest, ALocalPictureTravelsAsJpegWhateverItsFormat) {
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    for (const char* format : {"PNG", "BMP", "JPEG"}) {
        SCOPED_TRACE(format);
        const fs::path file = dir.path() / (std::string("picture.") + format);
        test::writeFile(file, test::pictureFile(image, format));
        const Text answer = recognizePicture(file.string(), false);
        const fake::RecognitionRequest request = latest();
        EXPECT_TRUE(request.inlinePicture);
        const QImage received =
            QImage::fromData(QByteArray::fromStdString(request.picture), "JPEG");
        EXPECT_EQ(received.size(), image.size());
        EXPECT_THAT(answer, HasSubstr("\"msg\":\"success\""));
        EXPECT_THAT(answer, HasSubstr(toGbk("\"words\":\"第一行\"")));  // turned into GBK
        std::vector<Text> lines;
        allTextsBetween(answer, "words\":\"", "\"", lines);
        EXPECT_EQ(lines, (std::vector<Text>{toGbk("第一行"), "two"}));
    }
}

TEST_F(RecognitionClientTest, EveryRequestDrawsItsOwnCookie) {
    const fs::path file = dir.path() / "p.png";
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    test::writeFile(file, test::pictureFile(image, "PNG"));
    std::set<std::string> cookies;
    for (int i = 0; i < 4; ++i) {
        recognizePicture(file.string(), false);
    }
    for (const fake::RecognitionRequest& request : service.requests()) {
        EXPECT_THAT(request.problems, IsEmpty());  // one cookie, BAIDUID=<digits>
        cookies.insert(request.cookie);
    }
    // The service's own cookie never comes back, and four draws are not all the same.
    EXPECT_EQ(cookies.count("BAIDUID=FROMSERVICE:FG=1"), 0u);
    EXPECT_GT(cookies.size(), 1u);
}

TEST_F(RecognitionClientTest, AWebAddressGoesOutAsTyped) {
    const Text address = "http://pictures.example/a b.png?x=1&y=%41&z=" + toGbk("中文");
    const Text answer = recognizePicture(address, true);
    const fake::RecognitionRequest request = latest();
    EXPECT_FALSE(request.inlinePicture);
    EXPECT_EQ(request.pictureUrl, address);  // the program's own text, byte for byte
    EXPECT_THAT(answer, HasSubstr("success"));
}

TEST_F(RecognitionClientTest, AnythingButSuccessBecomesTheFailureText) {
    const Text failure = toGbk("没有识别到文本  ");
    const fs::path file = dir.path() / "p.png";
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    test::writeFile(file, test::pictureFile(image, "PNG"));
    test::writeFile(dir.path() / "notes.txt", "no picture here");

    using Answer = fake::FakeRecognitionService::Answer;
    const struct {
        const char* what;
        std::function<void()> serviceSays;
        Text source;
        Text expected;
    } cases[] = {
        {"another status word", [&] { service.answerStatus("image size error"); }, file.string(),
         failure + "image size error"},
        {"an empty body", [&] { service.answer(Answer::emptyBody); }, file.string(), failure},
        {"no answer at all", [&] { service.answer(Answer::nothing); }, file.string(), failure},
        {"a missing file", [] {}, (dir.path() / "missing.png").string(),
         failure + fake::refusalStatus},
        {"a file that is no picture", [] {}, (dir.path() / "notes.txt").string(),
         failure + fake::refusalStatus},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        service.answerWords({"x"});
        c.serviceSays();
        EXPECT_EQ(recognizePicture(c.source, false), c.expected);
    }
    // The two without a picture carried an empty image field.
    const auto all = service.requests();
    ASSERT_EQ(all.size(), 5u);
    for (std::size_t i = 3; i < 5; ++i) {
        EXPECT_THAT(all[i].raw.body,
                    ::testing::EndsWith("image=data:image/png;base64,&image_url="));
    }
}

TEST_F(RecognitionClientTest, ASuccessWithoutWordsIsStillTheWholeAnswer) {
    service.answerWords({});
    const Text answer = recognizePicture("http://pictures.example/p.png", true);
    EXPECT_THAT(answer, MatchesRegex(R"(\{"errno":0,"msg":"success",.*\})"));
    std::vector<Text> lines{"old"};
    allTextsBetween(answer, "words\":\"", "\"", lines);
    EXPECT_THAT(lines, IsEmpty());
}

}  // namespace
}  // namespace lumoset
