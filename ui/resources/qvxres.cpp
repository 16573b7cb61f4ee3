// qvxres: the resource library carries no code; its resources lie in qvxres.res beside it.
extern "C" int zx_qvxres_module() { return 1; }
