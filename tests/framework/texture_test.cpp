// Textures and layer capture through the recording table; a fake name
// allocator stands in for the driver's.

#include "binding/util/exception.hpp"
#include "framework/core/layer.hpp"
#include "framework/graphics/texture.hpp"

#include "support/recorder.hpp"

#include <gtest/gtest.h>

#include <set>

namespace tandrel {
namespace {

using test::Call;
using test::calls;
using test::callNames;
using Args = std::vector<double>;

std::set<GLuint> live;
GLuint nextName = 7;
void fakeGen(GLsizei, GLuint* names) {
    calls().push_back(Call{"glGenTextures", {}});
    live.insert(*names = nextName++);
}
GLboolean fakeIs(GLuint name) {
    calls().push_back(Call{"glIsTexture", {double(name)}});
    return live.count(name) ? GL_TRUE : GL_FALSE;
}
void fakeDelete(GLsizei, const GLuint* names) {
    calls().push_back(Call{"glDeleteTextures", {double(*names)}});
    live.erase(*names);
}

// An image of the one format no texture takes.
struct FloatImage : SuperImage {
    std::uint32_t width() const override { return 1; }
    std::uint32_t height() const override { return 1; }
    std::uint32_t bitDepth() const override { return 32; }
    std::uint32_t channelCount() const override { return 4; }
    std::uint32_t bytesPerPixel() const override { return 16; }
    PixelFormat pixelFormat() const override { return PixelFormat::RGBA_FLOAT; }
    std::vector<std::uint8_t>& pixels() override { return bytes; }
    std::unique_ptr<SuperImage> clone() const override { return nullptr; }
    Color4f colorAt(std::int32_t, std::int32_t) const override { return {}; }
    void setColorAt(const Color4f&, std::int32_t, std::int32_t) override {}
    std::unique_ptr<SuperImage> createBlank(std::uint32_t, std::uint32_t) const override { return nullptr; }
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(16);
};

class TextureCalls : public ::testing::Test {
protected:
    void SetUp() override {
        gl.glGenTextures = &fakeGen;
        gl.glIsTexture = &fakeIs;
        gl.glDeleteTextures = &fakeDelete;
        live.clear();
        nextName = 7;
    }
    test::RecordingTable table;
};

TEST_F(TextureCalls, SizeConstructorMakesATransparentLinearTexture) {
    Texture texture(256, 128);
    EXPECT_EQ(texture.tex, 7u);
    EXPECT_EQ(callNames(), (std::vector<std::string>{"glGenTextures", "glBindTexture", "glTexImage2D",
                                                     "glTexParameteri", "glTexParameteri"}));
    const auto& log = calls();
    EXPECT_EQ(log[1].args, (Args{GL_TEXTURE_2D, 7}));
    EXPECT_EQ((Args{log[2].args.begin(), log[2].args.end() - 1}),
              (Args{GL_TEXTURE_2D, 0, 4, 256, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
    EXPECT_EQ(log[3].args, (Args{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
    EXPECT_EQ(log[4].args, (Args{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
}

TEST_F(TextureCalls, ImageUploadBuildsMipmapsEitherWayAndPicksTheSampling) {
    for (bool mipmaps : {true, false}) {
        SCOPED_TRACE(mipmaps);
        Texture texture;
        ImageLA16 image(3, 5);
        calls().clear();
        texture.createFromImage(image, mipmaps);
        EXPECT_EQ(callNames(), (std::vector<std::string>{"glIsTexture", "glGenTextures", "glBindTexture",
                                                         "glTexParameteri", "glTexParameteri", "glTexParameteri",
                                                         "glTexParameteri", "glPixelStorei", "gluBuild2DMipmaps"}));
        const auto& log = calls();
        const double minFilter = mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
        const double wrap = mipmaps ? GL_REPEAT : GL_CLAMP_TO_EDGE;
        EXPECT_EQ(log[3].args, (Args{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
        EXPECT_EQ(log[4].args, (Args{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter}));
        EXPECT_EQ(log[5].args, (Args{GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap}));
        EXPECT_EQ(log[6].args, (Args{GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap}));
        EXPECT_EQ(log[7].args, (Args{GL_UNPACK_ALIGNMENT, 1}));
        EXPECT_EQ(log[8].args, (Args{GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 3, 5, GL_LUMINANCE_ALPHA, GL_UNSIGNED_SHORT,
                                     double(reinterpret_cast<std::uintptr_t>(image.pixels().data()))}));
        EXPECT_EQ(texture.format, GLenum(GL_LUMINANCE_ALPHA));
        EXPECT_EQ(texture.type, GLenum(GL_UNSIGNED_SHORT));
        EXPECT_EQ(texture.width, 3);
    }
}

TEST_F(TextureCalls, FloatImagesAreRefusedWithTheNameKept) {
    Texture texture;
    FloatImage image;
    try {
        texture.createFromImage(image, true);
        FAIL() << "no exception";
    } catch (const VandorException& e) {
        EXPECT_STREQ(e.what(), "Texture.createFromImage is not implemented for PixelFormat.RGBA_FLOAT");
    }
    EXPECT_TRUE(live.count(texture.tex));
    EXPECT_TRUE(test::callsNamed("gluBuild2DMipmaps").empty());
}

TEST_F(TextureCalls, FreeIsSafeTwiceAndABoundFreedTextureFails) {
    Texture texture(4, 4);
    texture.free();
    texture.free();
    EXPECT_EQ(test::callsNamed("glDeleteTextures").size(), 1u);
    // A name handed out again to someone else is not the freed texture's.
    Texture other(4, 4);
    live.insert(7);
    texture.free();
    EXPECT_EQ(test::callsNamed("glDeleteTextures").size(), 1u);

    calls().clear();
    EXPECT_THROW(
        try { texture.bind(0); } catch (const VandorException& e) {
            EXPECT_STREQ(e.what(), "Texture error");
            throw;
        },
        VandorException);
    EXPECT_EQ(calls().front(), (Call{"glEnable", {GL_TEXTURE_2D}}));
    calls().clear();
    other.bind(0);
    other.unbind();
    EXPECT_EQ(callNames(), (std::vector<std::string>{"glEnable", "glIsTexture", "glBindTexture", "glBindTexture",
                                                     "glDisable"}));
}

TEST_F(TextureCalls, LayerCapturesAfterItsModifiersAndFreesItsTexture) {
    Layer layer(0, 0, 320, 200, LayerType::Layer3D, 0);
    Texture& capture = layer.getTexture();
    EXPECT_EQ(&layer.getTexture(), &capture);
    EXPECT_EQ(test::callsNamed("glGenTextures").size(), 1u);
    EXPECT_EQ(capture.width, 320);
    EXPECT_TRUE(layer.copyToTexture);

    Texture modifier(1, 1);
    layer.addModifier(modifier);
    calls().clear();
    layer.draw(0);
    const auto names = callNames();
    const std::vector<std::string> tail{"glBindTexture", "glDisable",   "glBindTexture", "glCopyTexSubImage2D",
                                        "glBindTexture", "glMatrixMode", "glPopMatrix",   "glMatrixMode"};
    ASSERT_GE(names.size(), tail.size());
    EXPECT_EQ((std::vector<std::string>{names.end() - 8, names.end()}), tail);
    EXPECT_EQ(test::callsNamed("glCopyTexSubImage2D")[0].args, (Args{GL_TEXTURE_2D, 0, 0, 0, 0, 0, 320, 200}));

    layer.free();
    EXPECT_FALSE(live.count(7));
}

} // namespace
} // namespace tandrel
