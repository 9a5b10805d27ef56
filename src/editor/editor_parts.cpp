#include "editor/editor_parts.h"

namespace {

// The front panels and strip editors are built by their own classes; until those are part of
// the product, the editor runs with the frame and background alone.
class ProductEditorParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(int, TemepleteEditor *, Templete *) override { return nullptr; }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(TemepleteEditor *, Templete *) override
    {
        return nullptr;
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(TemepleteEditor *, Templete *) override { return nullptr; }
};

}  // namespace

EditorPartsFactory &productEditorParts()
{
    static ProductEditorParts parts;
    return parts;
}
