#include <gtest/gtest.h>

#include "binding/util/exception.hpp"
#include "fixtures/recorder.hpp"
#include "framework/ui/textline.hpp"

#include <algorithm>

namespace tandrel {
namespace {

using test::Call;
using test::calls;

// Every non-empty text is `advance` wide; "bad" is rejected like malformed UTF-8.
class StubFont : public Font {
public:
    explicit StubFont(float advance) : Font(16), advance(advance) {}
    void draw(const std::string& text) override { calls().push_back(Call{"font.draw:" + text, {}}); }
    float textWidth(const std::string& text) override {
        if (text == "bad") throw VandorException("rejected");
        return text.empty() ? 0.0f : advance;
    }
    float advance;
};

class TextLineCalls : public ::testing::Test {
protected:
    test::RecordingTable table;
    StubFont font{101};
};

TEST_F(TextLineCalls, DrawSetsStateAroundTheFont) {
    TextLine line(font, "Score", {10, 20});
    line.color = Color4f(0.25f, 0.5f, 0.75f, 1);
    line.draw(0.016);
    const std::vector<Call> expected{
        {"glPushAttrib", {0x23001}},
        {"glDisable", {GL_LIGHTING}},
        {"glEnable", {GL_TEXTURE_2D}},
        {"glDisable", {GL_DEPTH_TEST}},
        {"glEnable", {GL_BLEND}},
        {"glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}},
        {"glColor4f", {0.25, 0.5, 0.75, 1}},
        {"glPushMatrix", {}},
        {"glTranslatef", {10, 20, 0}},
        {"glScalef", {1, 1, 1}},
        {"font.draw:Score", {}},
        {"glPopMatrix", {}},
        {"glPopAttrib", {}},
    };
    EXPECT_EQ(calls(), expected);
}

// The calls between the anchor translation and the font's draw.
std::vector<Call> placement(TextLine& line) {
    calls().clear();
    line.draw(0);
    auto anchor = std::ranges::find(calls(), std::string("glTranslatef"), &Call::name);
    auto drawn = std::ranges::find_if(calls(), [](const Call& c) { return c.name.starts_with("font.draw"); });
    return {anchor + 1, drawn};
}

TEST_F(TextLineCalls, AlignmentOffsetIsUnscaled) {
    TextLine line(font, "Wide", {200, 0});
    line.scale = 2;
    EXPECT_EQ(placement(line), (std::vector<Call>{{"glScalef", {2, 2, 2}}}));
    line.alignment = Alignment::Center;
    EXPECT_EQ(placement(line), (std::vector<Call>{{"glTranslatef", {-50.5, 0, 0}}, {"glScalef", {2, 2, 2}}}));
    line.alignment = Alignment::Right;
    EXPECT_EQ(placement(line), (std::vector<Call>{{"glTranslatef", {-101, 0, 0}}, {"glScalef", {2, 2, 2}}}));
}

TEST_F(TextLineCalls, WidthFollowsTextAndFont) {
    TextLine line(font, "", {0, 0});
    EXPECT_EQ(line.width, 0.0f);
    EXPECT_EQ(line.scale, 1.0f);
    EXPECT_EQ(line.alignment, Alignment::Left);
    EXPECT_EQ(line.color, Color4f(0, 0, 0, 1));

    line.setText("x");
    EXPECT_EQ(line.width, 101.0f);
    StubFont narrow(7);
    line.setFont(narrow);
    EXPECT_EQ(line.font, &narrow);
    EXPECT_EQ(line.width, 7.0f);

    // Rejected text leaves the line as it was, so draw never meets it.
    EXPECT_THROW(line.setText("bad"), VandorException);
    EXPECT_EQ(line.text, "x");
    EXPECT_EQ(line.width, 7.0f);

    line.setPosition(Vector2f(3, 4));
    EXPECT_EQ(line.position, Vector2f(3, 4));
    line.setPosition(5, 6);
    EXPECT_EQ(line.position, Vector2f(5, 6));
}

} // namespace
} // namespace tandrel
