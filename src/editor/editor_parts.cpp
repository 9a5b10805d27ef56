#include "editor/editor_parts.h"

#include <new>

#include "display/zem_meter_full_panel.h"
#include "strips/strip_safe_editors.h"

namespace {

class ProductEditorParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(int meterType, TemepleteEditor *editor,
                                                       Templete *effect) override
    {
        return ::createFrontPanel(meterType, editor, effect);
    }
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
