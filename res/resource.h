// Resource ids of Marlin.

// Strings of the parameter store
#define IDS_PPP_ADAPTER 20001
