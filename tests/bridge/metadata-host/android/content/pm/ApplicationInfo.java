package android.content.pm;

public class ApplicationInfo extends PackageItemInfo {
    public String sourceDir;
    public String[] splitSourceDirs;
}
