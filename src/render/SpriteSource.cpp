#include "render/SpriteSource.h"

#include "data/DataFileScope.h"
#include "data/DataPath.h"

namespace
{
std::vector<std::unique_ptr<SpriteSource>>& SourceTable()
{
    static std::vector<std::unique_ptr<SpriteSource>> table;
    return table;
}
} // namespace

const FieldDescriptor<SpriteSource>& SpriteSource::Descriptor()
{
    static const FieldDescriptor<SpriteSource> descriptor("SpriteSource", {
                                                                              GLOAMER_FIELD(SpriteSource, _source),
                                                                              GLOAMER_FIELD(SpriteSource, _cols),
                                                                              GLOAMER_FIELD(SpriteSource, _rows),
                                                                              GLOAMER_FIELD(SpriteSource, _setting),
                                                                          });
    return descriptor;
}

const std::vector<std::unique_ptr<SpriteSource>>& SpriteSource::Table()
{
    return SourceTable();
}

void SpriteSource::ClearTable()
{
    SourceTable().clear();
    Texture::ClearCache();
}

SpriteSource* SpriteSource::Find(const std::string& name)
{
    for (const auto& source : SourceTable())
        if (source->_name == name)
            return source.get();
    return nullptr;
}

std::shared_ptr<SpriteSource> SpriteSource::ForComponent(const json& component)
{
    auto it = component.find("spritesource");
    if (it == component.end())
        return nullptr;
    const json& j = *it;
    FieldIo::RequireObject(j);
    if (auto source = j.find("source");
        source != j.end() && source->is_string() && source->get_ref<const std::string&>().empty())
        return nullptr;

    const std::string name = j.at("name").get<std::string>();
    SpriteSource* record = Find(name);
    if (!record)
    {
        auto made = std::make_unique<SpriteSource>();
        made->Read(j);
        made->_name = name;
        if (auto source = j.find("source"); source != j.end())
            CheckDataPath(made->_source, DataFileScope::Current(), *source);
        made->LoadTexture();
        SourceTable().push_back(std::move(made));
        record = SourceTable().back().get();
    }
    return record->Copy();
}

void SpriteSource::Read(const json& j)
{
    Descriptor().Read(*this, j);
}

void SpriteSource::Write(json& j) const
{
    Descriptor().Write(*this, j);
    j["name"] = _name;
}

void SpriteSource::LoadTexture()
{
    _texture = Texture::Load(_source, _setting);
}

std::unique_ptr<SpriteSource> SpriteSource::Copy() const
{
    auto copy = std::make_unique<SpriteSource>();
    copy->_name = _name;
    copy->_source = _source;
    copy->_cols = _cols;
    copy->_rows = _rows;
    copy->_setting = _setting;
    copy->LoadTexture();
    return copy;
}
