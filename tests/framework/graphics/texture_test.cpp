// Textures and layer capture through the recording table, with a fake name
// allocator standing in for the driver's.

#include "binding/util/exception.hpp"
#include "framework/core/layer.hpp"

#include "fixtures/recorder.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <set>

namespace tandrel {
namespace {

using test::callNames;
using test::calls;
using Args = std::vector<double>;
using Names = std::vector<std::string>;

std::set<GLuint> live;
void fakeGen(GLsizei, GLuint* name) { live.insert(*name = GLuint(7 + live.size())); }
GLboolean fakeIs(GLuint name) { return live.count(name) ? GL_TRUE : GL_FALSE; }
void fakeDelete(GLsizei, const GLuint* name) { live.erase(*name); }

// The one format no texture takes.
struct FloatImage : ImageRGBA16 {
    FloatImage() : ImageRGBA16(1, 1) {}
    PixelFormat pixelFormat() const override { return PixelFormat::RGBA_FLOAT; }
};

class TextureCalls : public ::testing::Test {
protected:
    void SetUp() override {
        gl.glGenTextures = &fakeGen;
        gl.glIsTexture = &fakeIs;
        gl.glDeleteTextures = &fakeDelete;
        live.clear();
    }
    test::RecordingTable table;
};

TEST_F(TextureCalls, UploadsAlwaysBuildMipmapsAndTheFlagPicksTheSampling) {
    // Images hold 16-bit samples high byte first: a little-endian machine
    // swaps them for the upload and puts the setting back.
    const bool swaps = std::endian::native == std::endian::little;
    for (bool mipmaps : {true, false}) {
        live.clear();
        Texture texture;
        ImageLA16 image(3, 5);
        calls().clear();
        texture.createFromImage(image, mipmaps);
        const double minFilter = mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
        const double wrap = mipmaps ? GL_REPEAT : GL_CLAMP_TO_EDGE;
        const auto pixels = double(reinterpret_cast<std::uintptr_t>(image.pixels().data()));
        std::vector<test::Call> expected{{"glBindTexture", {GL_TEXTURE_2D, 7}},
                                         {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}},
                                         {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter}},
                                         {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap}},
                                         {"glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap}},
                                         {"glPixelStorei", {GL_UNPACK_ALIGNMENT, 1}}};
        if (swaps) expected.push_back({"glPixelStorei", {GL_UNPACK_SWAP_BYTES, GL_TRUE}});
        expected.push_back({"gluBuild2DMipmaps",
                            {GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 3, 5, GL_LUMINANCE_ALPHA, GL_UNSIGNED_SHORT, pixels}});
        if (swaps) expected.push_back({"glPixelStorei", {GL_UNPACK_SWAP_BYTES, GL_FALSE}});
        EXPECT_EQ(calls(), expected);
    }
    Texture refused;
    FloatImage floats;
    try {
        refused.createFromImage(floats, true);
        ADD_FAILURE() << "a float image was taken";
    } catch (const VandorException& e) {
        EXPECT_STREQ(e.what(), "Texture.createFromImage is not implemented for PixelFormat.RGBA_FLOAT");
    }
    EXPECT_TRUE(live.count(refused.tex)) << "the name stays allocated";
}

TEST_F(TextureCalls, FreeIsSafeTwiceEvenOnceTheNameIsHandedOutAgain) {
    Texture texture(4, 4);
    EXPECT_EQ(callNames(), (Names{"glBindTexture", "glTexImage2D", "glTexParameteri", "glTexParameteri"}));
    EXPECT_EQ((Args{calls()[1].args.begin(), calls()[1].args.end() - 1}),
              (Args{GL_TEXTURE_2D, 0, 4, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE}));
    texture.free();
    live.insert(7); // another texture now has the freed name
    texture.free();
    EXPECT_TRUE(live.count(7));
    calls().clear();
    try {
        texture.bind(0);
        ADD_FAILURE() << "a freed texture was bound";
    } catch (const VandorException& e) {
        EXPECT_STREQ(e.what(), "Texture error");
    }
    EXPECT_EQ(callNames(), Names{"glEnable"});
}

TEST_F(TextureCalls, LayerCapturesAfterItsModifiersAndFreesTheOneTextureItMade) {
    Layer layer(0, 0, 320, 200, LayerType::Layer3D, 0);
    Texture& capture = layer.getTexture();
    EXPECT_EQ(&layer.getTexture(), &capture);
    EXPECT_EQ(live.size(), 1u);
    Texture modifier(1, 1);
    layer.addModifier(modifier);
    calls().clear();
    layer.draw(0);
    const Names names = callNames();
    EXPECT_EQ((Names{names.end() - 8, names.end()}),
              (Names{"glBindTexture", "glDisable", "glBindTexture", "glCopyTexSubImage2D", "glBindTexture",
                     "glMatrixMode", "glPopMatrix", "glMatrixMode"}));
    EXPECT_EQ(test::callsNamed("glCopyTexSubImage2D")[0].args, (Args{GL_TEXTURE_2D, 0, 0, 0, 0, 0, 320, 200}));
    layer.free();
    EXPECT_EQ(live, std::set<GLuint>{8}) << "only the capture texture (7) is freed";
}

TEST_F(TextureCalls, CaptureTextureTakesTheLayersNewSize) {
    Layer layer(0, 0, 320, 200, LayerType::Layer2D, 0);
    Texture& capture = layer.getTexture();
    layer.resize(0, 0, 1200, 700);
    EXPECT_EQ(&layer.getTexture(), &capture);
    EXPECT_EQ((std::pair{capture.width, capture.height}), (std::pair{1200, 700}));
    const Args made = test::callsNamed("glTexImage2D").back().args;
    EXPECT_EQ((Args{made.begin() + 3, made.begin() + 5}), (Args{1200, 700})) << "no storage of the new size";
    EXPECT_EQ(live.size(), 1u) << "the old storage is freed";
    calls().clear();
    layer.draw(0);
    EXPECT_EQ(test::callsNamed("glCopyTexSubImage2D")[0].args, (Args{GL_TEXTURE_2D, 0, 0, 0, 0, 0, 1200, 700}));
}

} // namespace
} // namespace tandrel
