// What the headless stand-in knows of the program's dialog resources, read from the resource scripts
// of the source tree: which dialog ids have a template (a load of any other gives error 1007), and for
// the result displays' dialogs what a user sees when they appear: the radio groups of the template, the
// numbers that its spin fields start with, and the list selections and check states of the companion
// text. Test equipment only.
#ifndef QR4T_TOOLKIT_HEADLESS_DIALOG_RESOURCES_H
#define QR4T_TOOLKIT_HEADLESS_DIALOG_RESOURCES_H

#include <map>
#include <string>
#include <vector>

struct HeadlessDialogResource {
    std::vector<std::vector<int>> radio_groups;  // field ids of each group, in template order
    std::map<int, int> integers;                 // spin and integer fields with a start text
    std::map<int, std::string> texts;            // real fields with a start text
    std::map<int, int> checks;                   // [Checks] of the companion text
    std::map<int, std::pair<int, std::vector<std::string>>> menus;  // [Menus]: selection, items
    bool learned = false;                                           // a display dialog: the above apply
};

// The resources of one dialog id; null when no resource script defines a template with that id. With
// no readable resource folder every id counts as known (and nothing is learned).
const HeadlessDialogResource* headless_dialog_resource(int dialog);

#endif
