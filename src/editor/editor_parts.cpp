#include "editor/editor_parts.h"

#include "display/zem_meter_full_panel.h"

namespace {

// The strip editors are built by their own classes; until those are part of the product, the
// editor runs without strips.
class ProductEditorParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(int meterType, TemepleteEditor *editor,
                                                       Templete *effect) override
    {
        return ::createFrontPanel(meterType, editor, effect);
    }
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
