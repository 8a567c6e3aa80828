// The command on the game's model files: character data (CMX, BCF), meshes (SKN, BMF) and
// archives (FAR), printed as JSON. The file's extension picks the reader.

#include <ostream>

#include "cli/command.h"
#include "cli/json.h"
#include "core/cmx.h"
#include "core/far_archive.h"
#include "core/file_io.h"
#include "core/mesh.h"
#include "core/ascii.h"

namespace drapeline::cli {

namespace {

std::int64_t number(std::size_t n) { return static_cast<std::int64_t>(n); }

void printCharacter(JsonWriter& json, const CharacterData& data) {
    json.beginObject().key("skeletons").beginArray();
    for (const auto& skeleton : data.skeletons) {
        json.beginObject().key("name").value(skeleton.name).key("bones").beginArray();
        for (const auto& bone : skeleton.bones)
            json.beginObject().key("name").value(bone.name).key("parent").value(bone.parentName).endObject();
        json.endArray().endObject();
    }
    json.endArray().key("suits").beginArray();
    for (const auto& suit : data.suits) {
        json.beginObject().key("name").value(suit.name).key("type").value(suit.type).key("skins").beginArray();
        for (const auto& skin : suit.skins)
            json.beginObject()
                .key("bone").value(skin.boneName)
                .key("mesh").value(skin.meshName)
                .key("censorFlags").value(skin.censorFlags)
                .endObject();
        json.endArray().endObject();
    }
    json.endArray().key("skills").value(data.skillCount).endObject();
}

void printMesh(JsonWriter& json, const Mesh& mesh) {
    json.beginObject().key("name").value(mesh.name).key("texture").value(mesh.texture);
    json.key("bones").beginArray();
    for (const auto& name : mesh.boneNames) json.value(name);
    json.endArray()
        .key("faces").value(number(mesh.faces.size()))
        .key("bindings").value(number(mesh.bindings.size()))
        .key("textureCoordinates").value(number(mesh.textureCoordinates.size()))
        .key("blends").value(number(mesh.blends.size()))
        .key("vertices").value(number(mesh.vertices.size()))
        .endObject();
}

void printArchive(JsonWriter& json, const FarArchive& archive) {
    json.beginObject().key("entries").beginArray();
    for (const auto& entry : archive.entries)
        json.beginObject()
            .key("name").value(entry.name)
            .key("offset").value(static_cast<std::int64_t>(entry.offset))
            .key("size").value(static_cast<std::int64_t>(entry.size))
            .endObject();
    json.endArray().endObject();
}

bool endsWith(const std::string& path, std::string_view extension) {
    if (path.size() < extension.size()) return false;
    for (std::size_t i = 0; i < extension.size(); ++i) {
        if (ascii::toLower(path[path.size() - extension.size() + i]) != extension[i]) return false;
    }
    return true;
}

int meshCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    args.expectPositional(1, 1);
    const std::string& path = args.positional()[0];
    const bool known = endsWith(path, ".cmx") || endsWith(path, ".bcf") || endsWith(path, ".skn") ||
                       endsWith(path, ".bmf") || endsWith(path, ".far");
    if (!known) throw Failure(path + ": not a .cmx, .bcf, .skn, .bmf or .far file");
    JsonWriter json;
    try {
        const ByteText bytes = readWholeFile(path);
        if (endsWith(path, ".cmx")) printCharacter(json, readCharacterText(bytes));
        else if (endsWith(path, ".bcf")) printCharacter(json, readCharacterBinary(bytes));
        else if (endsWith(path, ".skn")) printMesh(json, readMeshText(bytes));
        else if (endsWith(path, ".bmf")) printMesh(json, readMeshBinary(bytes));
        else printArchive(json, readFarArchive(bytes));
    } catch (const RuntimeError& e) {
        throw Failure(path + ": " + e.textWithReason());
    }
    out << json.str() << "\n";
    return 0;
}

}  // namespace

std::vector<Command> modelCommands() {
    return {
        {"mesh", "mesh FILE                        print a .cmx/.bcf, .skn/.bmf or .far file's contents",
         {}, meshCommand},
    };
}

}  // namespace drapeline::cli
