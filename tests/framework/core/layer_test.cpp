// The exact OpenGL calls of a layer's pass, through the recording table.

#include "framework/core/layer.hpp"

#include "fixtures/recorder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tandrel {
namespace {

using test::Call;
using test::callNames;
using test::calls;

// Logs its own calls into the same record as the OpenGL calls.
struct Probe : Drawable, Modifier {
    explicit Probe(std::string name) : name(std::move(name)) {}
    void draw(double dt) override { calls().push_back(Call{name + ".draw", {dt}}); }
    void bind(double dt) override { calls().push_back(Call{name + ".bind", {dt}}); }
    void unbind() override { calls().push_back(Call{name + ".unbind", {}}); }
    void free() override { calls().push_back(Call{name + ".free", {}}); }
    std::string name;
};

class LayerTest : public ::testing::Test {
protected:
    test::RecordingTable table;
};

TEST_F(LayerTest, PassSetsProjectionAndWrapsDrawablesInModifiers) {
    Layer layer(5, 6, 810, 450, LayerType::Layer2D, 0);
    Probe a("A"), b("B"), d("D"), e("E");
    layer.addModifier(a);
    layer.addModifier(b);
    layer.addDrawable(d);
    layer.addDrawable(e);
    layer.draw(0.25);

    const std::vector<std::string> expected{"glMatrixMode", "glPushMatrix",   "glLoadIdentity", "glOrtho",
                                            "glMatrixMode", "glLoadIdentity", "A.bind",         "B.bind",
                                            "D.draw",       "E.draw",         "A.unbind",       "B.unbind",
                                            "glMatrixMode", "glPopMatrix",    "glMatrixMode"};
    EXPECT_EQ(callNames(), expected);
    const auto& log = calls();
    EXPECT_EQ(log[0].args, std::vector<double>{GL_PROJECTION});
    EXPECT_EQ(log[3].args, (std::vector<double>{0, 810, 0, 450, -1, 1}));
    EXPECT_EQ(log[4].args, std::vector<double>{GL_MODELVIEW});
    EXPECT_EQ(log[6].args, std::vector<double>{0.25});
    EXPECT_EQ(log[8].args, std::vector<double>{0.25});
    EXPECT_EQ(log[12].args, std::vector<double>{GL_PROJECTION});
    EXPECT_EQ(log[14].args, std::vector<double>{GL_MODELVIEW});
}

TEST_F(LayerTest, AnyTypeButLayer2DUsesThePerspective) {
    for (auto type : {LayerType::Layer3D, static_cast<LayerType>(7)}) {
        calls().clear();
        Layer layer(0, 0, 800, 400, type, 0);
        layer.draw(0);
        const auto perspective = test::callsNamed("gluPerspective");
        ASSERT_EQ(perspective.size(), 1u);
        EXPECT_DOUBLE_EQ(perspective[0].args[0], 60);
        EXPECT_DOUBLE_EQ(perspective[0].args[1], 2.0);
        EXPECT_DOUBLE_EQ(perspective[0].args[2], 0.1);
        EXPECT_DOUBLE_EQ(perspective[0].args[3], 400);
        EXPECT_TRUE(test::callsNamed("glOrtho").empty());
    }
}

TEST_F(LayerTest, EmptyLayerStillPushesAndPopsTheProjection) {
    Layer layer(0, 0, 10, 10, LayerType::Layer3D, 0);
    layer.draw(0);
    EXPECT_EQ(test::callsNamed("glPushMatrix").size(), 1u);
    EXPECT_EQ(test::callsNamed("glPopMatrix").size(), 1u);
    EXPECT_EQ(callNames().back(), "glMatrixMode");
    EXPECT_EQ(calls().back().args, std::vector<double>{GL_MODELVIEW});
}

TEST_F(LayerTest, ResizeKeepsThePositionGivenAndRecomputesTheAspect) {
    Layer layer(3, 4, 810, 450, LayerType::Layer2D, 2);
    EXPECT_FLOAT_EQ(layer.aspectRatio, 1.8f);
    EXPECT_FALSE(layer.autoResize);
    EXPECT_FALSE(layer.copyToTexture);
    layer.resize(-7, 9, 800, 400);
    EXPECT_EQ(layer.x, -7);
    EXPECT_EQ(layer.y, 9);
    EXPECT_EQ(layer.width, 800u);
    EXPECT_EQ(layer.height, 400u);
    EXPECT_FLOAT_EQ(layer.aspectRatio, 2.0f);
}

TEST(LogicalSize, SceneFitsTheWindowCentredWithItsProportions) {
    struct Case {
        std::uint32_t windowWidth, windowHeight;
        Viewport expected;
    };
    for (const Case& c : {Case{810, 450, {0, 0, 810, 450}}, Case{1620, 900, {0, 0, 1620, 900}},
                          Case{1920, 900, {150, 0, 1620, 900}}, Case{1000, 800, {0, 122, 1000, 556}}}) {
        SCOPED_TRACE(std::to_string(c.windowWidth) + "x" + std::to_string(c.windowHeight));
        EXPECT_EQ(fitToWindow(810, 450, c.windowWidth, c.windowHeight), c.expected);
    }
    Layer layer(0, 0, 1000, 800, LayerType::Layer2D, 0);
    EXPECT_EQ(layer.toScene(500, 500), Vector2f(500, 500)) << "without a logical size, one unit per pixel";
    layer.setLogicalSize(810, 450);
    EXPECT_EQ(layer.toScene(500, 122 + 278), Vector2f(405, 225)); // the window's centre is the scene's
}

} // namespace
} // namespace tandrel
