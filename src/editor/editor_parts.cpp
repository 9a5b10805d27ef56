#include "editor/editor_parts.h"

#include <new>

#include "strips/strip_safe_editors.h"

namespace {

// The front panels are built by their own classes; until those are part of the product, the
// editor runs without them.
class ProductEditorParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(int, TemepleteEditor *, Templete *) override { return nullptr; }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(TemepleteEditor *editor, Templete *effect) override
    {
        return std::unique_ptr<EditorFiltersHolder>(new (std::nothrow) StripFiltersSafeEditor(editor, effect));
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(TemepleteEditor *editor, Templete *effect) override
    {
        return std::unique_ptr<EditorLabelHolder>(new (std::nothrow) StripLabelSafeEditor(editor, effect));
    }
};

}  // namespace

EditorPartsFactory &productEditorParts()
{
    static ProductEditorParts parts;
    return parts;
}
