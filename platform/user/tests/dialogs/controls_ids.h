/* Ids of the edit, list and combo test templates (kept clear of the other parts' ids). */
#define IDD_CONTROLS 2100

#define IDC_FILE_EDIT     2101
#define IDC_FILE_LIST     2102
#define IDC_KIND_COMBO    2103
#define IDC_ASSIGNS_COMBO 2104
#define IDC_NOTES_EDIT    2105
