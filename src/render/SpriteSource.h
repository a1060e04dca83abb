#pragma once

#include "data/FieldDescriptor.h"
#include "render/Texture.h"

#include <memory>
#include <string>
#include <vector>

// A texture divided into a grid of frames (or font cells), kept in a table by name.
class SpriteSource
{
public:
    // The sprite's own copy of what its component JSON names under "spritesource":
    // from the table by "name", or read and added. Null when there is none or its
    // "source" is the empty string. JSON type errors propagate.
    static std::shared_ptr<SpriteSource> ForComponent(const json& component);

    static SpriteSource* Find(const std::string& name);
    static const std::vector<std::unique_ptr<SpriteSource>>& Table();
    static void ClearTable();

    void Read(const json& j);
    void Write(json& j) const;
    // Same name, file, grid and filter, with the texture loaded for the copy.
    std::unique_ptr<SpriteSource> Copy() const;
    void LoadTexture();

    const std::string& GetName() const { return _name; }
    const std::string& GetSource() const { return _source; }
    unsigned GetCols() const { return _cols; }
    unsigned GetRows() const { return _rows; }
    unsigned GetSetting() const { return _setting; }
    // GL texture name; 0 when the image could not be read (or without GL).
    unsigned GetTextureName() const { return _texture ? _texture->GetName() : 0; }
    const Texture* GetTexture() const { return _texture.get(); }

    static const FieldDescriptor<SpriteSource>& Descriptor();

private:
    std::string _name;
    std::shared_ptr<Texture> _texture;
    std::string _source;
    unsigned _cols = 0;
    unsigned _rows = 0;
    unsigned _setting = Texture::kLinear;
};
