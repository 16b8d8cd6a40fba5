// Reading .x files: the header picks a tokenizer (text or binary, either
// maybe behind MSZIP compression), and a recursive-descent walker reads the
// object tree from its tokens. Frames nest to a fixed depth; every Mesh in
// them goes to the collector with its frame; other objects are skipped.
// Every count is checked before anything is reserved, and every index
// against what it indexes.
#include <cmath>
#include <memory>
#include <new>

#include "D3DXReadFile.h"
#include "XFileBinaryTokenizer.h"
#include "XFileMeshCollector.h"
#include "XFileMeshReader.h"
#include "XFileMszip.h"
#include "XFileTextTokenizer.h"
#include "xfile.h"

namespace {

constexpr std::size_t kHeaderSize = 16;
constexpr int kMaxFrameDepth = 256;
constexpr std::size_t kMaxFrames = std::size_t{1} << 16;

bool IsIdentity(const D3DXMATRIX& m)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m.m[r][c] != (r == c ? 1.0f : 0.0f))
                return false;
    return true;
}

class XFileWalker : private XFileObjectReader
{
public:
    explicit XFileWalker(XFileTokenizer& tokens)
        : XFileObjectReader(tokens, m_Error), m_MeshReader(tokens, m_Error, m_NamedMaterials)
    {
        m_Frames.push_back({});
    }

    bool Read(XFileMesh* out, std::string* error)
    {
        const bool ok = ParseObjects(0, 0, {}) && Build(out);
        if (!ok)
            *error = m_Error;
        return ok;
    }

private:
    // A Frame as read: its parent, and its own transform if it gives one.
    struct Frame
    {
        std::size_t parent = 0;
        bool hasTransform = false;
        D3DXMATRIX transform;
        std::string opened;  // where it opens, for messages
    };

    // --- the object tree ------------------------------------------------------
    // The objects at the top level (depth 0, up to the end of the input) or
    // in a Frame (up to its `}`).
    bool ParseObjects(std::size_t frame, int depth, const std::string& opened)
    {
        const char* object = depth > 0 ? "the Frame" : nullptr;
        return ReadChildren(object, opened, depth > 0 ? "in Frame" : "at the top level", [&](std::string_view type) {
            if (type == "template")
                return SkipTemplate();
            if (type == "Frame")
                return ParseFrame(frame, depth + 1);
            if (type == "FrameTransformMatrix" && depth > 0)
                return ParseFrameTransform(frame);
            if (type == "Mesh")
                return ParseMesh(frame);
            if (type == "Material")
                return ParseNamedMaterial();
            return SkipObject();
        });
    }

    bool ParseFrame(std::size_t parent, int depth)
    {
        const std::string opened = m_Tok.Where();
        if (depth > kMaxFrameDepth)
            return Fail("Frames nested deeper than " + std::to_string(kMaxFrameDepth));
        if (m_Frames.size() >= kMaxFrames)
            return Fail("more than " + std::to_string(kMaxFrames) + " Frames");
        if (!OpenObject("Frame"))
            return false;
        m_Frames.push_back({parent, false, D3DXMATRIX{}, opened});
        return ParseObjects(m_Frames.size() - 1, depth, opened);
    }

    bool ParseFrameTransform(std::size_t frame)
    {
        const std::string opened = m_Tok.Where();
        if (!OpenObject("FrameTransformMatrix"))
            return false;
        Frame& f = m_Frames[frame];
        if (f.hasTransform)
            return Fail("a second FrameTransformMatrix in one Frame");
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                if (!ReadFloat(&f.transform.m[r][c], "a frame transform"))
                    return false;
        f.hasTransform = true;
        return SkipChildren("FrameTransformMatrix", opened);
    }

    bool ParseNamedMaterial()
    {
        XFileMaterial material;
        std::string name;
        if (!m_MeshReader.ReadMaterial(&material, &name))
            return false;
        if (!name.empty())
            m_NamedMaterials[name] = std::move(material);
        return true;
    }

    bool ParseMesh(std::size_t frame)
    {
        XFileRawMesh mesh;
        if (!m_MeshReader.ReadMesh(&mesh))
            return false;
        std::string error;
        return m_Collector.Add(mesh, frame, &error) || Fail(error);
    }

    // --- result ---------------------------------------------------------------
    bool Build(XFileMesh* out)
    {
        if (m_Collector.MeshCount() == 0)
            return Fail("no Mesh object in the file");
        // Parents come before their children, so one pass finds every world.
        std::vector<XFileWorld> worlds(m_Frames.size());
        for (std::size_t i = 1; i < m_Frames.size(); ++i) {
            const Frame& f = m_Frames[i];
            const XFileWorld& parent = worlds[f.parent];
            XFileWorld& world = worlds[i];
            if (!f.hasTransform || IsIdentity(f.transform)) {
                world = parent;
                continue;
            }
            world.identity = false;
            world.matrix = parent.identity ? f.transform : f.transform * parent.matrix;
            for (const auto& row : world.matrix.m)
                for (float v : row)
                    if (!std::isfinite(v)) {
                        m_Error = f.opened +
                                  ": the transforms of this Frame and those around it multiply to a "
                                  "non-finite matrix";
                        return false;
                    }
        }
        std::string error;
        if (!m_Collector.Finish(worlds, out, &error)) {
            m_Error = error;
            return false;
        }
        return true;
    }

    std::string m_Error;  // the first failure, shared with the mesh reader
    XFileMeshReader::NamedMaterials m_NamedMaterials;
    XFileMeshReader m_MeshReader;
    std::vector<Frame> m_Frames;  // [0] is the file itself
    XFileMeshCollector m_Collector;
};

// Checks the 16-byte header and reads the body with the tokenizer it names.
bool ParseBody(std::string_view file, XFileMesh* out, std::string* error)
{
    auto headerError = [&](const char* message) {
        *error = std::string("line 1: ") + message;
        return false;
    };
    if (file.size() < 4 || file.substr(0, 4) != "xof ")
        return headerError("not a .x file (no \"xof \" header)");
    if (file.size() < kHeaderSize)
        return headerError("the .x header is cut short");
    const std::string_view version = file.substr(4, 4);
    const std::string_view format = file.substr(8, 4);
    const std::string_view floatSize = file.substr(12, 4);
    if (version != "0302" && version != "0303")
        return headerError("unsupported .x version in the header");
    if (format != "txt " && format != "bin " && format != "tzip" && format != "bzip")
        return headerError("unknown .x format in the header");
    if (floatSize != "0032" && floatSize != "0064")
        return headerError("bad float size in the .x header");
    const bool doubles = floatSize == "0064";

    std::string unpacked;
    std::string_view body = file.substr(kHeaderSize);
    if (format == "tzip" || format == "bzip") {
        if (!XFileInflateMszip(body, kXFileMaxBytes, &unpacked, error))
            return false;
        body = unpacked;
    }
    std::unique_ptr<XFileTokenizer> tokens;
    if (format == "txt " || format == "tzip")
        tokens = std::make_unique<XFileTextTokenizer>(body, 0, 1);
    else
        tokens = std::make_unique<XFileBinaryTokenizer>(body, kHeaderSize, doubles);
    XFileWalker walker(*tokens);
    return walker.Read(out, error);
}

}  // namespace

bool ParseXFile(std::string_view text, XFileMesh* out, std::string* error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    if (!out) {
        *error = "no mesh to parse into";
        return false;
    }
    try {
        return ParseBody(text, out, error);
    } catch (const std::bad_alloc&) {
        *error = "out of memory";
        return false;
    }
}

bool ReadXFile(const std::string& path, XFileMesh* out, std::string* error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    std::string bytes;
    if (!D3DXReadFile(path, kXFileMaxBytes, &bytes, error))
        return false;
    return ParseXFile(bytes, out, error);
}
