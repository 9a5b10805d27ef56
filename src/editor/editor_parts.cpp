#include "controls/editor_parts.h"

#include <new>

#include "display/zem_meter_full_panel.h"
#include "strips/strip_safe_editors.h"

namespace {

class ProductEditorParts : public EditorPartsFactory {
public:
    std::unique_ptr<EditorFrontPanel> createFrontPanel(MeterType meterType, VSTGUI::CControlListener *listener,
                                                       Templete *effect) override
    {
        return ::createFrontPanel(meterType, listener, effect);
    }
    std::unique_ptr<EditorFiltersHolder> createFiltersEditor(VSTGUI::CControlListener *listener,
                                                             Templete *effect) override
    {
        return std::unique_ptr<EditorFiltersHolder>(new (std::nothrow) StripFiltersSafeEditor(listener, effect));
    }
    std::unique_ptr<EditorLabelHolder> createLabelEditor(VSTGUI::CControlListener *listener, Templete *effect) override
    {
        return std::unique_ptr<EditorLabelHolder>(new (std::nothrow) StripLabelSafeEditor(listener, effect));
    }
};

}  // namespace

EditorPartsFactory &productEditorParts()
{
    static ProductEditorParts parts;
    return parts;
}
