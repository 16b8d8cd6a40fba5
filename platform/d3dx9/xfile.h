// Our reader and writer of the text .x mesh format, without any device: the
// asset maker writes with it, the fuzzer reads with it, and the D3DX mesh
// load and save stand on it.
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
    D3DMATERIAL9 material{};       // faceColor -> Diffuse, power, specularColor, emissiveColor
    std::string textureFilename;   // empty when the material names no texture
};

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
// Largest file ReadXFile reads, and the most corners one polygon may have.
constexpr std::size_t kXFileMaxBytes = std::size_t{256} << 20;
constexpr std::size_t kXFileMaxPolygonCorners = 1u << 16;
// Longest texture file name; bounds what `{ Name }` references can copy.
constexpr std::size_t kXFileMaxTextureName = 1024;

// Parses the text of a .x file: one Mesh object (with MeshNormals,
// MeshTextureCoords, MeshVertexColors and MeshMaterialList children), materials inline or by
// `{ Name }` reference to a top-level Material; templates and other objects
// are skipped. On failure returns false and sets *error to one line naming
// the problem and its line number; *out is then unspecified.
bool ParseXFile(std::string_view text, XFileMesh* out, std::string* error);

// Reads and parses a file (UTF-8 path). Errors name the file.
bool ReadXFile(const std::string& path, XFileMesh* out, std::string* error);

// Writes mesh as text .x (header "xof 0303txt 0032"), numbers printed the
// same way whatever the locale. False with *error set when the file cannot
// be written or the mesh is inconsistent.
bool WriteXFile(const std::string& path, const XFileMesh& mesh, std::string* error);

// The text WriteXFile writes, without touching a file.
bool FormatXFile(const XFileMesh& mesh, std::string* text, std::string* error);
