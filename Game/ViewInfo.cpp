#include "Game/ViewInfo.h"

#include <cstdarg>

#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Game/EditorShell.h"
#include "Game/MapArea.h"

static const float LINE_HEIGHT = 14.0f;
static const float INDENT = 25.0f;
static const float VALUE_COLUMN = 125.0f;

ViewInfo::ViewInfo()
{
    backgroundColor = Color::DARK_BLUE;
    theConsole.Printf("Constructing ViewInfo #%u\n", InstanceNumber(this));
}

void ViewInfo::Draw()
{
    if (!visible) return;
    theRenderer.Clear(backgroundColor * 0.5f);
    DrawInfo();
}

void ViewInfo::DrawInfo()
{
    theRenderer.PushMatrix();
    theRenderer.SetOrtho(Vec2f(float(topLeft.x), float(topLeft.y)), Vec2f(float(bottomRight.x), float(bottomRight.y)));
    theRenderer.SetColour(Color::WHITE);
    for (const TextItem& item : ComposeInfo(theMapArea)) theRenderer.DrawText(item.x, item.y, "%s", item.text.c_str());
    if (theMapArea != nullptr && theEditorShell != nullptr) {
        const TextItem status = ComposeMapStatus(*theMapArea, theEditorShell->HasUnsavedChanges());
        theRenderer.DrawText(status.x, status.y, "%s", status.text.c_str());
    }
    theRenderer.PopMatrix();
}

namespace {

// The text cursor: each written or empty line moves it down one line.
class InfoWriter {
public:
    InfoWriter(std::vector<ViewInfo::TextItem>& items_, const Vec2i& topLeft)
        : items(items_), x(float(topLeft.x) + 5.0f), y(float(topLeft.y) + LINE_HEIGHT)
    {}

    void Line(const std::string& text) { Columns(0.0f, text); }
    void Indented(const std::string& text) { Columns(INDENT, text); }
    void Empty() { y += LINE_HEIGHT; }
    // A row of the property table: key and value in their two columns.
    void Pair(const std::string& key, const std::string& value)
    {
        items.push_back(ViewInfo::TextItem{x + INDENT, y, key});
        Columns(VALUE_COLUMN, value);
    }

private:
    void Columns(float offset, const std::string& text)
    {
        items.push_back(ViewInfo::TextItem{x + offset, y, text});
        y += LINE_HEIGHT;
    }

    std::vector<ViewInfo::TextItem>& items;
    float x;
    float y;
};

std::string Format(const char* format, ...) PW_PRINTF(1, 2);
std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    SafeFormatV(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

void WriteProperties(InfoWriter& out, const PropertyMap& properties)
{
    if (properties.Count() == 0) return;
    out.Empty();
    out.Line("Properties:");
    out.Pair("KEY", "VALUE");
    out.Pair("~~~~~", "~~~~~~~");
    for (const auto& pair : properties) out.Pair(pair.first, pair.second);
}

void WriteHighlighted(InfoWriter& out, const MapArea& map)
{
    if (map.GetHighlighted().empty()) {
        out.Line("No highlighted elements");
        return;
    }
    const MapElement* element = map.GetHighlighted().front();
    switch (element->type) {
    case MAP_ELEMENT_VERTEX: {
        const Vertex* vertex = static_cast<const Vertex*>(element);
        out.Line("Highlighted element:");
        out.Indented(Format("Vertex at (%g, %g)", vertex->position.x, vertex->position.y));
        break;
    }
    case MAP_ELEMENT_LINEDEF: {
        const Linedef* linedef = static_cast<const Linedef*>(element);
        out.Line("Highlighted element:");
        out.Indented(Format("Linedef from (%g, %g) to (%g, %g)", linedef->start->position.x, linedef->start->position.y,
                            linedef->end->position.x, linedef->end->position.y));
        WriteProperties(out, linedef->properties);
        break;
    }
    case MAP_ELEMENT_OBJECT: {
        const MapObject* object = static_cast<const MapObject*>(element);
        out.Line(Format("Highlighted element:  Object at (%g, %g)", object->position.x, object->position.y));
        WriteProperties(out, object->properties);
        break;
    }
    default:
        break;
    }
}

}  // namespace

std::vector<ViewInfo::TextItem> ViewInfo::ComposeInfo(const MapArea* map) const
{
    std::vector<TextItem> items;
    InfoWriter out(items, topLeft);
    out.Line("Info View");
    out.Empty();
    if (map == nullptr) return items;

    if (map->SelectedCount() >= 1) {
        out.Line(Format("%d Selected elements:", map->SelectedCount()));
        const struct {
            MapElementType type;
            const char* format;
        } kinds[] = {{MAP_ELEMENT_OBJECT, "%d Object(s)"},
                     {MAP_ELEMENT_LINEDEF, "%d Linedef(s)"},
                     {MAP_ELEMENT_VERTEX, "%d Vertex(es)"}};
        for (const auto& kind : kinds) {
            const int count = map->SelectedCountOfType(kind.type);
            if (count != 0) out.Indented(Format(kind.format, count));
        }
    } else {
        out.Line("No selected elements");
    }
    out.Empty();

    WriteHighlighted(out, *map);

    // SOLVE's progress or answer, below the rest.
    const std::vector<std::string> solve =
        theEditorShell != nullptr ? theEditorShell->solver.InfoLines(map) : std::vector<std::string>();
    if (!solve.empty()) out.Empty();
    for (const std::string& line : solve) out.Line(line);
    return items;
}

ViewInfo::TextItem ViewInfo::ComposeMapStatus(const MapArea& map, bool unsaved) const
{
    std::string text = map.GetName().empty() ? "New map" : "Map \"" + map.GetName() + "\"";
    if (unsaved) text += " - unsaved changes";
    return TextItem{float(topLeft.x) + 5.0f, float(bottomRight.y) - 6.0f, text};
}
