// Reads one Mesh object and its children: MeshNormals, MeshTextureCoords,
// MeshVertexColors, DeclData (normals, texture coordinates, colours) and
// MeshMaterialList with its materials, inline or by `{ Name }` reference to
// a Material given before; other children are skipped. Also reads the
// Materials given on their own, remembering them by name.
#pragma once

#include <map>
#include <string>

#include "XFileObjectReader.h"
#include "XFileRawMesh.h"

class XFileMeshReader : private XFileObjectReader
{
public:
    using NamedMaterials = std::map<std::string, XFileMaterial, std::less<>>;

    // Reads from tokens; failures go to error (the walker's), materials by
    // name to named.
    XFileMeshReader(XFileTokenizer& tokens, std::string& error, NamedMaterials& named)
        : XFileObjectReader(tokens, error), m_Named(named)
    {}

    // From just after the `Mesh` keyword to its closing `}`.
    bool ReadMesh(XFileRawMesh* mesh);
    // From just after the `Material` keyword to its closing `}`; *name gets
    // the object's name, if it has one.
    bool ReadMaterial(XFileMaterial* out, std::string* name);

private:
    struct FaceListWords;

    bool ReadFaceList(std::uint32_t numFaces, std::uint32_t limit, const FaceListWords& words,
                      const std::vector<std::uint32_t>* shape, std::vector<std::uint32_t>* polygonStart,
                      std::vector<std::uint32_t>* corners);
    // A child that a Mesh may give once: refused the second time, its body
    // read by readBody after the `{`, its own children skipped, then marked
    // given.
    template <typename ReadBody>
    bool ReadOnce(const char* type, const char* what, bool* given, ReadBody readBody);
    bool ParseNormals(XFileRawMesh& mesh);
    bool ParseTexcoords(XFileRawMesh& mesh);
    bool ParseVertexColors(XFileRawMesh& mesh);
    bool ParseDeclData(XFileRawMesh& mesh);
    bool ParseMaterialList(XFileRawMesh& mesh);
    bool SetTextureName(std::string_view text, std::string* out);
    // Channels 0..1 (clamped) to a packed ARGB word.
    static DWORD PackColor(const float rgba[4]);

    NamedMaterials& m_Named;
};
