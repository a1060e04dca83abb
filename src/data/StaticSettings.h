#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Class-wide tuning values kept in Data/Static/<class>.json. The file is read the
// first time the class asks for its settings (absent keys keep the compiled-in
// defaults) and written back, complete and compact, when the program ends.
class StaticSettings
{
public:
    using Target = std::variant<float*, int*, unsigned*, bool*, glm::vec2*, glm::vec4*, std::string*>;

    struct Entry
    {
        Target target;
        std::string_view memberName;
    };

    StaticSettings(std::string_view className, std::initializer_list<Entry> entries);
    ~StaticSettings();

    StaticSettings(const StaticSettings&) = delete;
    StaticSettings& operator=(const StaticSettings&) = delete;

    // Loads the file once; later calls do nothing.
    void EnsureLoaded();
    // Writes every value back to the file (atomically). True on success.
    bool Save() const;

    const std::string& FileName() const { return _fileName; }
    bool Loaded() const { return _loaded; }

    // Off in tools and tests that must not leave files behind.
    static void SetWriteBack(bool enabled);

private:
    struct Field
    {
        Target _target;
        std::string _key;
    };

    std::string _fileName;
    std::vector<Field> _fields;
    bool _loaded = false;
    // The file was there but not a JSON object; it is kept as "<file>.bad" before the
    // first rewrite.
    mutable bool _keepBad = false;
};
