package android.content.pm;

public class PackageItemInfo {
    public String packageName;
}
