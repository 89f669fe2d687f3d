/* Resource ids, shared by Ventora.rc and the program's sources. */

#define IDR_MAINFRAME                   128

/* Main panel */
#define IDD_HOTSPOT_DIALOG              102
#define IDC_TOGGLE_ADAPTER              1004
#define IDC_SHOW_STATUS                 1006
#define IDC_CONFIGURE                   1007
#define IDC_TOGGLE_HOTSPOT              1008

/* Hotspot settings */
#define IDD_SETTINGS_DIALOG             129
#define IDC_SSID                        1000
#define IDC_KEY                         1001
#define IDC_SSID_LABEL                  1002
#define IDC_KEY_LABEL                   1003
