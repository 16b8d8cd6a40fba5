// Our reader of the .x mesh format and our writer of its text form, without
// any device: the asset maker writes with it, the fuzzer reads with it, and
// the D3DX mesh load and save stand on it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "d3d9.h"
#include "d3dx9math.h"

struct XFileMaterial
{
    D3DMATERIAL9 material{};      // faceColor -> Diffuse, power, specularColor, emissiveColor
    std::string textureFilename;  // empty when the material names no texture
};

// The material of a mesh that names none: plain white.
XFileMaterial XFilePlainMaterial();

// A mesh as the file holds it, after polygons are fanned into triangles and
// vertices whose corners carry different normals are split.
struct XFileMesh
{
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR3> normals;                 // empty, or one per position
    std::vector<std::array<float, 2>> texcoords;      // empty, or one per position
    std::vector<DWORD> colors;                        // empty, or one packed ARGB per position
    std::vector<std::array<std::uint32_t, 3>> faces;  // indices into positions
    std::vector<std::uint32_t> faceMaterials;         // empty, or one per face
    std::vector<XFileMaterial> materials;
};

// Upper bounds a file may not exceed; checked before anything is reserved.
constexpr std::size_t kXFileMaxVertices = 1u << 20;
constexpr std::size_t kXFileMaxFaces = 1u << 21;
constexpr std::size_t kXFileMaxMaterials = 4096;
// Largest file ReadXFile reads (and a compressed one may unpack to), and the
// most corners one polygon may have.
constexpr std::size_t kXFileMaxBytes = std::size_t{64} << 20;
constexpr std::size_t kXFileMaxPolygonCorners = 1u << 16;
// Longest texture file name; bounds what `{ Name }` references can copy.
constexpr std::size_t kXFileMaxTextureName = 1024;

// Parses a .x file held in memory: text, binary (32- or 64-bit floats) or
// either compressed. Every Mesh object, at the top level or at any depth of
// Frames, goes into *out in file order, moved by the product of the
// FrameTransformMatrix of its frames (normals by the inverse transpose, then
// normalised); a mesh outside any transformed frame keeps its numbers bit
// for bit. Read per mesh: MeshNormals, MeshTextureCoords, MeshVertexColors,
// DeclData (normals, texture coordinates, colours) and MeshMaterialList with
// materials inline or by `{ Name }` reference to a Material given before;
// templates and every other object are skipped. Non-finite numbers are
// refused. On failure returns false and sets *error to one line giving the
// reason, after "line N: " (text) or "byte N: " (binary) where it is known;
// *out is then unspecified.
bool ParseXFile(std::string_view text, XFileMesh* out, std::string* error);

// Reads and parses a file (UTF-8 path). A path that is not a regular file,
// or a file larger than kXFileMaxBytes, is refused before reading. Errors
// give the reason only: callers name the file.
bool ReadXFile(const std::string& path, XFileMesh* out, std::string* error);

// Writes mesh as text .x (header "xof 0303txt 0032"), numbers printed the
// same way whatever the locale. False with *error set when the file cannot
// be written or the mesh is inconsistent.
bool WriteXFile(const std::string& path, const XFileMesh& mesh, std::string* error);

// The text WriteXFile writes, without touching a file.
bool FormatXFile(const XFileMesh& mesh, std::string* text, std::string* error);
